#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <vector>

namespace zib {

// The raw bytes of one event: up to kInline bytes are kept in the event
// itself (every channel event and the short meta events), longer data on the
// heap. The operations are those of std::vector<uint8_t> that the program
// uses on events, so a file of a million events needs no allocation for most
// of their bytes. The inline bytes share their place with the heap pointer
// (the capacity tells which one holds): 16 bytes per event.
class EventBytes {
public:
    static constexpr uint32_t kInline = 8;

    EventBytes() noexcept : m_inline{} {}
    EventBytes(const EventBytes& other) : EventBytes() { assign(other.begin(), other.end()); }
    EventBytes(EventBytes&& other) noexcept : EventBytes() { swap(other); }
    EventBytes& operator=(const EventBytes& other)
    {
        if (this != &other) assign(other.begin(), other.end());
        return *this;
    }
    EventBytes& operator=(EventBytes&& other) noexcept
    {
        swap(other);
        return *this;
    }
    ~EventBytes() { release(); }

    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    uint8_t* data() { return isInline() ? m_inline : m_heap; }
    const uint8_t* data() const { return isInline() ? m_inline : m_heap; }
    uint8_t& operator[](size_t i) { return data()[i]; }
    const uint8_t& operator[](size_t i) const { return data()[i]; }
    uint8_t* begin() { return data(); }
    uint8_t* end() { return data() + m_size; }
    const uint8_t* begin() const { return data(); }
    const uint8_t* end() const { return data() + m_size; }

    // New bytes are `value`
    void resize(size_t n, uint8_t value = 0);
    void assign(size_t n, uint8_t value)
    {
        m_size = 0;
        resize(n, value);
    }
    template <typename It>
    void assign(It first, It last)
    {
        if constexpr (std::contiguous_iterator<It>) {
            const uint8_t* from = std::to_address(first);
            const size_t n = size_t(last - first);
            if (n <= m_capacity) {
                // In place: the source may be these bytes
                if (n) std::memmove(data(), from, n);
            } else {
                // A source longer than the buffer lies outside it.
                m_size = 0;
                reserve(n);
                std::memcpy(data(), from, n);
            }
            m_size = uint32_t(n);
        } else {
            std::vector<uint8_t> copy(first, last);
            assign(copy.data(), copy.data() + copy.size());
        }
    }
    void clear() { m_size = 0; }
    void push_back(uint8_t value) { resize(m_size + 1, value); }
    void swap(EventBytes& other) noexcept;
    // Exchanges the bytes with a byte vector of the editing code
    void swap(std::vector<uint8_t>& other);

    bool operator==(const EventBytes& other) const
    {
        return m_size == other.m_size && (m_size == 0 || std::memcmp(data(), other.data(), m_size) == 0);
    }

private:
    bool isInline() const { return m_capacity <= kInline; }
    void reserve(size_t n);
    void release();

    union {
        uint8_t m_inline[kInline];
        uint8_t* m_heap;
    };
    uint32_t m_size = 0;
    uint32_t m_capacity = kInline;
};

} // namespace zib
