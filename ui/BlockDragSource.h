#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace zib {

// A list view that drags item blocks of the private clipboard format and
// takes them when dropped: the test driver plays a whole drag with it
// (start in one view, drop in another or the same, finish in the first).
class BlockDragSource {
public:
    virtual ~BlockDragSource() = default;
    // The block of the selected rows, with the view marked as the drag's source.
    virtual std::optional<std::vector<uint8_t>> StartBlockDrag() = 0;
    // The drag ended, as a move (true) or a copy.
    virtual void FinishBlockDrag(bool moved) = 0;
    // A block dropped on row `row` (-1: no row); true when it was taken.
    virtual bool TakeBlockDrop(const std::vector<uint8_t>& block, int row, bool move) = 0;
};

} // namespace zib
