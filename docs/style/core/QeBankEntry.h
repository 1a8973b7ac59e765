#pragma once

#include <array>
#include <cstdint>

namespace zib {

// One slot of a Qe item-bank index: the resource of container index i sits
// in slot i; a slot whose resource index is -1 is free, whatever the rest holds.
struct QeBankEntry {
    int32_t resourceIndex = -1;
    std::array<char, 18> name{}; // the container index name, NUL-terminated when shorter
    uint32_t kind = 0;           // resource type
    int32_t bank = -1;
    int32_t position = -1;
    uint32_t headerWordA = 0;
    uint32_t headerWordB = 0;

    bool Used() const { return resourceIndex != -1; }
};

} // namespace zib
