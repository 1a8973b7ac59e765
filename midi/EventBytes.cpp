#include "midi/EventBytes.h"

#include <algorithm>
#include <limits>
#include <new>

namespace zib {

void EventBytes::release()
{
    if (!isInline()) delete[] m_heap;
    m_capacity = kInline;
}

void EventBytes::reserve(size_t n)
{
    if (n <= m_capacity) return;
    if (n > std::numeric_limits<uint32_t>::max()) throw std::bad_alloc();
    auto* bytes = new uint8_t[n];
    if (m_size) std::memcpy(bytes, data(), m_size);
    release();
    m_heap = bytes;
    m_capacity = uint32_t(n);
}

void EventBytes::resize(size_t n, uint8_t value)
{
    reserve(n);
    if (n > m_size) std::memset(data() + m_size, value, n - m_size);
    m_size = uint32_t(n);
}

// The inline bytes and the heap pointer share one place, so exchanging the
// three fields exchanges the bytes whichever way each side holds them.
void EventBytes::swap(EventBytes& other) noexcept
{
    if (this == &other) return;
    uint8_t place[kInline];
    std::memcpy(place, m_inline, kInline);
    std::memcpy(m_inline, other.m_inline, kInline);
    std::memcpy(other.m_inline, place, kInline);
    std::swap(m_size, other.m_size);
    std::swap(m_capacity, other.m_capacity);
}

void EventBytes::swap(std::vector<uint8_t>& other)
{
    std::vector<uint8_t> mine(begin(), end());
    assign(other.begin(), other.end());
    other.swap(mine);
}

} // namespace zib
