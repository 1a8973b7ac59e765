#pragma once

#include "devices/core/InsNameArray.h"

#include <string>

namespace zib {

// The program names of one bank of an instrument ("Patch[bank]=list").
class CInsPatchNames {
public:
    // The General MIDI defaults: "General MIDI", any bank, the 128 GM programs.
    static CInsPatchNames GeneralMidi();

    std::string name;            // the ".Patch Names" list it takes its names from
    int bank = -1;               // -1 = any bank
    std::string bankText = "*";  // the text between "Patch[" and "]", written back as it was
    InsNameArray names;          // by program number 0-127
};

} // namespace zib
