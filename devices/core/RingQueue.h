#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace zib {

// A first-in first-out queue on a ring of slots that doubles when full and
// never shrinks: once it has grown to its working size, pushing and popping
// allocate nothing (the MIDI layer queues on its timing paths).
template <typename T>
class RingQueue {
public:
    explicit RingQueue(size_t capacity = 16) : m_slots(capacity ? capacity : 1) {}

    bool empty() const { return m_count == 0; }
    size_t size() const { return m_count; }
    T& front() { return m_slots[m_head]; }
    const T& front() const { return m_slots[m_head]; }
    const T& operator[](size_t i) const { return m_slots[(m_head + i) % m_slots.size()]; }

    void push_back(T value)
    {
        if (m_count == m_slots.size()) Grow();
        m_slots[(m_head + m_count) % m_slots.size()] = std::move(value);
        ++m_count;
    }
    void pop_front()
    {
        m_head = (m_head + 1) % m_slots.size();
        --m_count;
    }
    void clear()
    {
        m_head = 0;
        m_count = 0;
    }

private:
    void Grow()
    {
        std::vector<T> bigger(m_slots.size() * 2);
        for (size_t i = 0; i < m_count; ++i) bigger[i] = std::move(m_slots[(m_head + i) % m_slots.size()]);
        m_slots = std::move(bigger);
        m_head = 0;
    }

    std::vector<T> m_slots;
    size_t m_head = 0;
    size_t m_count = 0;
};

} // namespace zib
