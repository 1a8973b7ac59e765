#pragma once

#include <cstdint>

namespace zib {

// One entry of the time-signature map: one measure (not one change).
struct CTimeSigRecord {
    uint32_t startTick = 0; // first tick of the measure
    uint8_t numerator = 4;
    uint8_t denominator = 4; // note value (1, 2, 4 ... 128), not the file's power of two
};

} // namespace zib
