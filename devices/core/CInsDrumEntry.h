#pragma once

#include <string>

namespace zib {

// A bank and patch whose sounds are drums ("Drum[bank,patch]=1").
class CInsDrumEntry {
public:
    int bank = -1;       // -1 = any
    int patch = -1;      // -1 = any
    std::string keyText; // the text between "Drum[" and "]"
};

} // namespace zib
