#pragma once

#include "devices/core/CInsInstrument.h"
#include "devices/core/CInsNameEntry.h"
#include "devices/core/CInstrumentStore.h"

#include <string>
#include <vector>

namespace zib {

class UserMidiPortMap;

// The Port - Instrument Relation dialog: which instrument plays on each
// channel of the user's MIDI OUT ports. It edits a working copy of the
// relations; OK hands the copy back when anything changed.
class PortInstrumentDlgModel {
public:
    // Why the dialog cannot open.
    enum class InitResult {
        Ok,
        NoOutPorts,    // "There are no selected MIDI OUT ports!!!"
        NoInstruments, // "There are no defined instruments!!!"
    };

    struct PortItem {
        std::string text; // the port's MIDI OUT name
        int port;         // user port number
    };
    struct InstrumentItem {
        std::string name; // Windows-1252 bytes
        int index;        // in the instrument array
    };

    // `initialPort` -1 preselects none.
    PortInstrumentDlgModel(RelationArray& relations, const InstrumentArray& instruments,
                           const UserMidiPortMap& outPorts, int outDeviceCount, const PortNameArray& portNames,
                           int initialPort, int initialChannel);

    // Fills the lists and selects the initial port, channel and instrument.
    InitResult Initialise();

    // Lists and selections
    const std::vector<PortItem>& Ports() const { return ports_; }
    int PortRow() const { return portRow_; }
    int CurrentPort() const { return currentPort_; }
    int CurrentChannel() const { return currentChannel_; }
    const std::vector<int>& SelectedChannels() const { return selectedChannels_; }
    const std::vector<InstrumentItem>& Instruments() const { return instrumentItems_; }
    int InstrumentRow() const { return instrumentRow_; }
    // Whether the connector line joins the current channel and instrument;
    // false while several channels with different instruments are selected.
    bool LineShown() const { return lineShown_; }
    bool Modified() const { return modified_; }
    const RelationArray& WorkingCopy() const { return working_; }

    // What the user does
    void SelectPort(int row);
    // The channel list's selection (channels 0-15).
    void SelectChannels(std::vector<int> channels);
    // Relates the instrument of `row` to every selected channel of the port.
    void SelectInstrument(int row);
    // After the instrument set changed ("Configure..."): relations of
    // instruments that are gone are dropped and the list is filled again.
    void InstrumentsChanged();
    // OK: the application's relations become the working copy when changed.
    void Apply();

private:
    std::string RelatedInstrument(int port, int channel) const;
    int RowOfInstrument(const std::string& name) const; // 0 when not listed
    void FillInstruments();
    void SelectRelatedInstrument();

    RelationArray& relations_;
    const InstrumentArray& instruments_;
    const UserMidiPortMap& outPorts_;
    int outDeviceCount_;
    const PortNameArray& portNames_;
    int initialPort_;
    int initialChannel_;

    RelationArray working_;
    bool modified_ = false;
    std::vector<PortItem> ports_;
    int portRow_ = -1;
    int currentPort_ = 0;
    int currentChannel_ = 0;
    std::vector<int> selectedChannels_;
    std::vector<InstrumentItem> instrumentItems_;
    int instrumentRow_ = -1;
    bool lineShown_ = true;
};

} // namespace zib
