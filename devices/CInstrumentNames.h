#pragma once

#include "ui/core/InstrumentNames.h"

namespace zib {

class CInstrumentStore;

// The note and controller names of the MIDI document's event lists, from
// the instrument related to the track's port and channel ("default" when
// none is). The MIDI document loads the definitions when it opens.
class CInstrumentNames : public InstrumentNames {
public:
    explicit CInstrumentNames(CInstrumentStore& store) : store_(store) {}

    std::string NoteName(int port, int channel, int bank, int program, int note) const override;
    std::string ControllerName(int port, int channel, int controller) const override;

private:
    CInstrumentStore& store_;
};

} // namespace zib
