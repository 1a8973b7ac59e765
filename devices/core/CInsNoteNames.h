#pragma once

#include "devices/core/InsNameArray.h"

#include <string>

namespace zib {

// The key names of a drum kit for one bank and patch ("Key[bank,patch]=list").
class CInsNoteNames {
public:
    // The General MIDI Drums defaults: any bank and patch, notes 35-81 named.
    static CInsNoteNames GeneralMidiDrums();

    std::string name;
    int bank = -1;                 // -1 = any
    int patch = -1;                // -1 = any
    std::string keyText = "*,*";   // the text between "Key[" and "]"
    std::string basedOn = "none";  // list whose names fill the empty slots while reading
    InsNameArray names;            // by note number 0-127
};

} // namespace zib
