#pragma once

#include "ulvarf/CQeStyleTree.h"

#include <cstdint>
#include <vector>

namespace zib::ulvarf {

// Sharing and splitting after writing: identical pattern chunks are stored
// once and named through the pattern map, and long patterns are stored as
// several shorter chunks that the CV plays one after the other.
//
// Sharing: a chunk with the same id, length and bytes as an earlier one is
// dropped and its uses name the earlier one (ids and lengths are compared
// before bytes, and candidates are found by a hash, so sharing stays linear
// in the number of chunks).
//
// Splitting (a target of 80 events per part): a chunk of fewer than 120
// events stays whole; above 320 events the target T becomes (40 + n) / 4. A
// pattern of at least one bar makes parts of T / 2 to T + T / 2 events, a
// shorter one parts of T. Walking the events by tick, a part is closed
// before a tick when the track is at rest, more than the lower bound of
// events remain, and either the part holds the upper bound (it ends at that
// tick) or it holds the lower bound and the tick lies in a later bar (it
// ends at that bar's line). At rest means no note or VexSound held (notes
// with a duration count until they end), pitch bend centred and controllers
// 1, 10, 11, 64, 71, 74 at 0, 64, 100, 0, 64, 64. Parts keep the id, chord
// and key; events keep their distance from the part's start; every part
// but the last ends with its end of track at its span, the last where the
// whole pattern's stream ended. Chunks that cannot be split safely (a
// damaged stream, events beyond the pattern's length) stay whole.
//
// In every CV the use of a split chunk becomes one use per run of parts
// (consecutive identical parts are one use), each started at its part's
// start and stopped at its end unless it is the last or reaches the CV's
// end; control events naming later uses are renumbered. A CV that ends with
// more than 31 uses traces "Warning! Many Cv Patterns %d".
class CPropPattUnmerge {
public:
    static constexpr size_t kTargetEvents = 80;
    static constexpr size_t kManyUses = 31;

    struct Part {
        CQeStyleTree::Pattern chunk;
        uint32_t start = 0;
        uint32_t end = 0;
    };

    // Shares and splits the tree as written by the style writer (identity
    // map); false when a count no longer fits its field (more than 255 uses
    // in a CV or 65535 in the style), the tree then being unusable.
    static bool Run(CQeStyleTree& tree);

    // The parts of one chunk; one part (the chunk itself) when it stays whole.
    static std::vector<Part> Split(const CQeStyleTree::Pattern& chunk, uint32_t barLength);
};

} // namespace zib::ulvarf
