#pragma once

#include "midi/CMidiEvent.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace zib {

// The events of a sequence held in an order-statistics tree (an implicit
// treap): the event at a position, inserting and removing at a position and
// the place after all events of a time each cost O(log n), so a group of k
// insertions and removals costs O((n + k) log n) instead of O(k n). The
// array is taken in and given back whole.
class EventOrderTree {
public:
    explicit EventOrderTree(std::vector<std::unique_ptr<CMidiEvent>> events);
    EventOrderTree(const EventOrderTree&) = delete;
    EventOrderTree& operator=(const EventOrderTree&) = delete;

    size_t size() const;
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
    struct Node {
        std::unique_ptr<CMidiEvent> event;
        uint32_t priority = 0;
        uint32_t size = 1;
        int32_t left = -1;
        int32_t right = -1;
    };

    uint32_t sizeOf(int32_t n) const { return n < 0 ? 0 : m_nodes[size_t(n)].size; }
    void update(int32_t n);
    void split(int32_t n, size_t count, int32_t& left, int32_t& right);
    int32_t merge(int32_t a, int32_t b);
    int32_t newNode(std::unique_ptr<CMidiEvent> event);
    uint32_t nextPriority();

    std::vector<Node> m_nodes;
    std::vector<int32_t> m_free;
    int32_t m_root = -1;
    uint64_t m_seed = 0x9E3779B97F4A7C15ull;
};

} // namespace zib
