#pragma once

#include "ulvarf/PropEvent.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zib::ulvarf {

// The encoders' pending note-offs: a min-heap keyed by tick. Offs of one tick
// come out in the order they went in. Room for 16 to start, growing by 8.
class CHeap {
public:
    static constexpr size_t kInitialSize = 16;
    static constexpr size_t kGrowth = 8;

    CHeap() { entries_.reserve(kInitialSize); }

    // Contents
    void Push(PropEvent event)
    {
        if (entries_.size() == entries_.capacity()) entries_.reserve(entries_.capacity() + kGrowth);
        entries_.push_back({std::move(event), order_++});
        std::push_heap(entries_.begin(), entries_.end(), later);
    }
    const PropEvent& Top() const { return entries_.front().event; }
    PropEvent Pop()
    {
        std::pop_heap(entries_.begin(), entries_.end(), later);
        PropEvent event = std::move(entries_.back().event);
        entries_.pop_back();
        return event;
    }
    bool empty() const { return entries_.empty(); }
    size_t size() const { return entries_.size(); }
    void Clear()
    {
        entries_.clear();
        order_ = 0;
    }

private:
    struct Entry {
        PropEvent event;
        uint64_t order;
    };
    static bool later(const Entry& a, const Entry& b)
    {
        return a.event.tick != b.event.tick ? a.event.tick > b.event.tick : a.order > b.order;
    }

    std::vector<Entry> entries_;
    uint64_t order_ = 0;
};

} // namespace zib::ulvarf
