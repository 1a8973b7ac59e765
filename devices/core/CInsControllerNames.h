#pragma once

#include "devices/core/InsNameArray.h"

#include <string>

namespace zib {

// The controller names of an instrument ("Control=list").
class CInsControllerNames {
public:
    // The "Standard" defaults.
    static CInsControllerNames Standard();

    std::string name;
    InsNameArray names; // by controller number 0-127
};

} // namespace zib
