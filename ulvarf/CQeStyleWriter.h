#pragma once

#include "ulvarf/CQeStyleTree.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace zib::ulvarf {

class CNstStyle;

// Writes the style model as a style chunk (CQeStyleTree), in this order:
//
// 1. Pruning (the model itself changes): elements 0-3 keep CVs 0-5,
//    elements 4-11 only CVs 0 and 1, and empty CVs go; an element left with
//    no CV is deleted; a created pattern with an empty stream is set back to
//    not created; chord-assign bytes naming a missing CV are repaired. When
//    element 0 then has no CV, its CV 0 and that CV's pattern 0 are created.
// 2. The tree: header; one pattern chunk per created pattern (element, CV,
//    track order) with the pattern's type, or the style's per-track type
//    when type forcing is on; a pattern shorter than its CV is repeated up to
//    the smallest multiple of its length that reaches the CV's length; the
//    identity pattern map; per element its info, track table and CV records,
//    each CV starting its patterns at tick 0, then its own control events,
//    ending at its length.
// 3. Sharing and splitting (CPropPattUnmerge).
class CQeStyleWriter {
public:
    // Bounds on repeating patterns: copies of one pattern, events of one
    // repeated pattern and events added by repeating in the whole style. A
    // pattern that would pass them is written without repeating (traced).
    static constexpr uint64_t kMaxRepeats = 1u << 12;
    static constexpr size_t kMaxRepeatedEvents = 1u << 18;
    static constexpr size_t kMaxStyleEvents = 1u << 22;

    // Prunes `style` and writes it; null when the style cannot be stored (more
    // than 255 pattern uses in one CV or 65535 in the style, or a CV stream
    // that no delta can span).
    static std::optional<std::vector<uint8_t>> Write(CNstStyle& style);

    // The steps
    static void Prune(CNstStyle& style);
    static CQeStyleTree BuildTree(const CNstStyle& style);
};

} // namespace zib::ulvarf
