#pragma once

#include "docs/style/core/CItemInfo.h"

#include <array>
#include <cstdint>

namespace zib {

// A style, STS or pad item. For Qe items the resource's place in its
// container (index, kind, bank and position), the style's version and
// release, and a summary of the style for the list: one time signature per
// style element and one sound per element and track.
class CStyItem : public CItemInfo {
public:
    static constexpr int kElements = 12;
    static constexpr int kTracks = 8;

    CStyItem() { signatures.fill(255); }

    std::array<uint8_t, kElements> signatures{}; // Qe time-signature byte; 255 = none
    int32_t resourceIndex = 0;                   // -1 for an empty item
    uint32_t kind = 0;                           // 2 style, 7 STS, 9 pad
    int32_t bankPosition = 0;                    // -1 for an empty item
    int32_t bank = 0;                            // -1 for an empty item
    uint32_t version = 0;                        // styles, pads: 0 Qe4k, 1 Qe9z; STS: header word A
    uint32_t release = 0;                        // styles, pads: style-info release; STS: header word B
    // bank MSB << 24 | bank LSB << 16 | program, per element and track
    std::array<std::array<uint32_t, kTracks>, kElements> sounds{};
};

} // namespace zib
