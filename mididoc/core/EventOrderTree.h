#pragma once

#include "midi/CMidiEvent.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace zib {

// The events of a sequence held for many insertions and removals at
// positions: the array cut into blocks of a few hundred events, with a
// Fenwick tree of the block sizes. Finding a position costs O(log(n / B))
// steps in a small table and an insertion or removal moves at most 2B
// pointers of one block, so a group of k insertions and removals costs
// O(n + k (log n + B)) and touches one block per step instead of a path of
// nodes spread over the memory. The array is taken in and given back whole.
class EventOrderTree {
public:
    explicit EventOrderTree(std::vector<std::unique_ptr<CMidiEvent>> events);
    EventOrderTree(const EventOrderTree&) = delete;
    EventOrderTree& operator=(const EventOrderTree&) = delete;

    size_t size() const { return m_size; }
    // The event at position i (null past the end)
    CMidiEvent* at(size_t i) const;
    // Inserts at position i (at most size()); the tree owns the event
    void insert(size_t i, std::unique_ptr<CMidiEvent> event);
    // Takes the event at position i out (null past the end)
    std::unique_ptr<CMidiEvent> remove(size_t i);
    // The position after every event whose time is not later than `time`
    // (the events are in time order)
    size_t upperBound(uint32_t time) const;

    // The events in order; the tree is empty afterwards
    std::vector<std::unique_ptr<CMidiEvent>> release();

private:
    using Block = std::vector<std::unique_ptr<CMidiEvent>>;

    // Events per block as built; a block that reaches twice as many is split
    static constexpr size_t kBlock = 512;

    // The block holding position i (i < size()) and the position within it
    void locate(size_t i, size_t& block, size_t& offset) const;
    // Adds `delta` to the size of a block
    void resize(size_t block, int64_t delta);
    // The Fenwick tree anew from the block sizes (after blocks came or went)
    void rebuild();

    std::vector<Block> m_blocks;       // never an empty one
    std::vector<uint32_t> m_fenwick;   // 1-based partial sums of the block sizes
    size_t m_size = 0;
};

} // namespace zib
