#pragma once

#include "ui/dialogs/CZibDialog.h"
#include "devices/core/PortInstrumentDlgModel.h"

class wxComboBox;
class wxListBox;
class wxPanel;

namespace zib {

class CInstrumentListBox;
class CInstrumentStore;

// "Port - Instrument Relation" (268): the user relates instruments to the
// channels of the MIDI OUT ports; a red line joins the current channel and
// its instrument. The dialog edits a copy; OK hands it to the application.
class CPortInstrumentDlg : public CZibDialog {
public:
    static constexpr int kIdChannels = 1311;
    static constexpr int kIdPorts = 1949;
    static constexpr int kIdInstruments = 1950;
    static constexpr int kIdConfigure = 1951;

    // `initialPort` -1 preselects none.
    CPortInstrumentDlg(wxWindow* parent, CInstrumentStore& store, const UserMidiPortMap& outPorts,
                       int outDeviceCount, int initialPort, int initialChannel);

    // Shows a message and returns wxID_CANCEL when the dialog cannot open.
    int ShowModal() override;

private:
    void FillInstruments();
    void ShowSelections();
    void OnPort(wxCommandEvent& event);
    void OnChannels(wxCommandEvent& event);
    void OnInstrument(wxCommandEvent& event);
    void OnConfigure(wxCommandEvent& event);
    void OnOk(wxCommandEvent& event);
    void PaintConnector();
    // The vertical middle of a list's row in dialog coordinates; past the
    // visible rows it lies beyond the list's edge.
    int RowMiddle(const wxListBox* list, int row) const;

    CInstrumentStore& store_;
    PortInstrumentDlgModel model_;
    wxComboBox* ports_ = nullptr;
    wxListBox* channels_ = nullptr;
    CInstrumentListBox* instruments_ = nullptr;
    wxPanel* gap_ = nullptr;
    bool mouseMoved_ = false;
};

} // namespace zib
