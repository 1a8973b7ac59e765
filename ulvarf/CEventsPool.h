#pragma once

#include "ulvarf/CGlobalObjectBase.h"
#include "ulvarf/CellPool.h"
#include "ulvarf/EventCell.h"

#include <cstddef>

namespace zib::ulvarf {

class CEventsHeap;

// Event cells for the stream decoders and the pattern code. The capacity is
// the size of one block of cells. A production pool grows, so large patterns
// never lose events; a fixed pool (tests of the exhaustion path) traces
// "CEventPool::GetNewEvent() - Pool of events is exhausted" and gives no cell,
// and the caller must then fail its operation. Codecs take the pool they use
// as a reference, so a test can hand them a small fixed one.
class CEventsPool : public CGlobalObjectBase {
public:
    static constexpr size_t kDefaultCapacity = 1024;

    explicit CEventsPool(CEventsHeap& heap, size_t capacity = kDefaultCapacity,
                         PoolGrowth growth = PoolGrowth::Grow);

    // Cells
    // A free cell (kind 15, no link), or null when a fixed pool is exhausted.
    EventCell* GetNewEvent();
    // A new cell with the same words and heap data (one more user of the
    // block); the link is cleared. Null when no cell is left.
    EventCell* CopyEvent(const EventCell& event);
    // Returns a whole list (linked by `next`) to the pool, releasing the heap
    // block of every cell whose word 1 has bit 31 set.
    void FreeEvents(EventCell* list);

    // State
    size_t inUse() const { return cells_.inUse(); }
    CEventsHeap& heap() { return heap_; }

    int OnDetached() override;

private:
    CEventsHeap& heap_;
    CellPool<EventCell> cells_;
};

} // namespace zib::ulvarf
