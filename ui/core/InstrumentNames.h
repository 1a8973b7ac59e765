#pragma once

#include <string>

namespace zib {

// Note and controller names of the whole-file event list by the track's port,
// channel, bank (-1 none) and program (-1 none). The instrument definitions
// answer them (the devices issue fills this hook); this default gives the
// English note name with its octave ("C4" for 60) and the fixed controller
// table ("7 Volume (MSB)"). Texts are Windows-1252 bytes.
class InstrumentNames {
public:
    virtual ~InstrumentNames();

    virtual std::string NoteName(int port, int channel, int bank, int program, int note) const;
    virtual std::string ControllerName(int port, int channel, int controller) const;
};

// The default names.
const InstrumentNames& DefaultInstrumentNames();

} // namespace zib
