#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace zib {

// The playback buffers of the MIDI engine: ten buffers of stream events,
// allocated once, on the first playback, and kept until the program ends.
// Each holds 2048 bytes: room for a buffer's events (they end at 1013
// bytes) and for the longest system exclusive event sent whole.
class StreamBuffers {
public:
    static constexpr size_t kCount = 10;
    static constexpr size_t kSize = 2048;

    // Allocates the buffers when they are not; false when memory ran out
    bool Alloc();
    bool IsAllocated() const { return m_allocated; }
    void Free();

    uint8_t* Buffer(size_t i) { return m_buffers[i].get(); }

private:
    std::array<std::unique_ptr<uint8_t[]>, kCount> m_buffers;
    bool m_allocated = false;
};

} // namespace zib
