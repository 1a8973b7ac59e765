#include "midi/EventBytes.h"

#include <algorithm>
#include <limits>
#include <new>

namespace zib {

void EventBytes::release()
{
    if (!isInline()) delete[] m_ptr;
    m_ptr = m_inline;
    m_capacity = kInline;
}

void EventBytes::reserve(size_t n)
{
    if (n <= m_capacity) return;
    if (n > std::numeric_limits<uint32_t>::max()) throw std::bad_alloc();
    auto* bytes = new uint8_t[n];
    if (m_size) std::memcpy(bytes, m_ptr, m_size);
    release();
    m_ptr = bytes;
    m_capacity = uint32_t(n);
}

void EventBytes::resize(size_t n, uint8_t value)
{
    reserve(n);
    if (n > m_size) std::memset(m_ptr + m_size, value, n - m_size);
    m_size = uint32_t(n);
}

void EventBytes::swap(EventBytes& other) noexcept
{
    if (this == &other) return;
    if (isInline() && other.isInline()) {
        std::swap(m_inline, other.m_inline);
        std::swap(m_size, other.m_size);
        return;
    }
    if (!isInline() && !other.isInline()) {
        std::swap(m_ptr, other.m_ptr);
        std::swap(m_size, other.m_size);
        std::swap(m_capacity, other.m_capacity);
        return;
    }
    // One inline, one on the heap: the heap block changes hands, the inline
    // bytes are copied.
    EventBytes& small = isInline() ? *this : other;
    EventBytes& large = isInline() ? other : *this;
    uint8_t* heap = large.m_ptr;
    const uint32_t heapSize = large.m_size;
    const uint32_t heapCapacity = large.m_capacity;
    std::memcpy(large.m_inline, small.m_inline, small.m_size);
    large.m_ptr = large.m_inline;
    large.m_size = small.m_size;
    large.m_capacity = kInline;
    small.m_ptr = heap;
    small.m_size = heapSize;
    small.m_capacity = heapCapacity;
}

void EventBytes::swap(std::vector<uint8_t>& other)
{
    std::vector<uint8_t> mine(begin(), end());
    assign(other.begin(), other.end());
    other.swap(mine);
}

} // namespace zib
