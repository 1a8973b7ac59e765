#pragma once

#include "ulvarf/CQeStyleTree.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>

namespace zib::ulvarf {

class CCvUseTimes;

// Merging before reading: the style model holds one pattern per style track
// and CV, while a stored CV may play several pattern chunks on one track one
// after the other (a split pattern), repeat a chunk, or stop it early.
// Merging joins the chunks of each track into one pattern:
//
// - the uses of one track are taken together, in the order of the CV's list;
// - every interval a use plays (CCvUseTimes) places its chunk at the
//   interval's start and once more after every chunk length until the
//   interval is covered; each placed event keeps its distance from the
//   placement's start, and events of one tick keep their playing order;
// - the merged pattern has the id, chord and key of the group's first chunk,
//   ends where the group's last interval ends, and its end of track lies
//   where the last placement's chunk ended.
//
// This exactly undoes splitting (CPropPattUnmerge): parts placed at their
// start ticks give back the events of the whole pattern in their first order
// and timing, and its length and end of track.
class CPropPattMerge {
public:
    using Pattern = CQeStyleTree::Pattern;
    // Bounds against damaged styles whose lengths would repeat chunks
    // without end: placements of one group, events of one merged pattern and
    // events merged in a whole style. What lies beyond them is not placed
    // (traced); real styles stay far below them.
    static constexpr size_t kMaxPlacements = 1u << 12;
    static constexpr size_t kMaxEvents = 1u << 18;
    static constexpr size_t kMaxStyleEvents = 1u << 22;

    // A CV needs merging when it has more than 8 uses, two uses of one style
    // track or a stop event. (A use that plays its chunk more than once is
    // no reason: the reader gives that pattern the playing time as length.)
    static bool NeedsMerging(const CQeStyleTree::ChordVar& cv, const CCvUseTimes& times,
                             std::span<const long> chunkOfUse);

    // The pattern each style track plays in the CV; chunkOfUse[k] is the
    // pattern chunk of use k, or -1 for a use that is ignored. Without
    // `merge` each use's chunk is taken as it is. `eventBudget` is what is
    // left of kMaxStyleEvents for the style; merged events are taken from it.
    static std::array<std::optional<Pattern>, 8> Merge(const CQeStyleTree& tree, const CQeStyleTree::ChordVar& cv,
                                                       const CCvUseTimes& times, std::span<const long> chunkOfUse,
                                                       bool merge, size_t& eventBudget);
};

} // namespace zib::ulvarf
