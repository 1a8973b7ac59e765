#pragma once

#include "ui/core/CTrackNameSource.h"

namespace zib {

class CInstrumentStore;

// The names the MIDI window's track list shows, from the instrument
// definitions and the port-instrument relations: a port as its device (or
// its related instrument), banks and patches by the instrument of the port
// and channel. The definitions are loaded after the first question, once the
// window has painted, and the windows are then drawn again; a MIDI document
// loads them all when it opens, before its windows paint. The instruments area hands it to the MIDI
// window with SetTrackNameSource (mididoc/MidiDocSubsystem.h),
// as the shell wires it.
class CInstrumentTrackNames : public CTrackNameSource {
public:
    explicit CInstrumentTrackNames(CInstrumentStore& store) : store_(store) {}

    // Loads the definitions and relations and names the devices now, before
    // a window that shows the names paints (a MIDI document opening)
    void LoadNow();

    std::string OutPortName(int port, int channel) const override;
    std::string BankName(int port, int channel, int bank) const override;
    std::string PatchName(int port, int channel, int bank, int program) const override;

private:
    // Loads the definitions and names the devices on first need, later.
    void LoadSoon() const;
    void Load() const;

    CInstrumentStore& store_;
    mutable bool loadAsked_ = false;
};

} // namespace zib
