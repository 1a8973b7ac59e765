#pragma once

#include "platform/ByteWriter.h"

#include <array>
#include <cstddef>

namespace zib {

// The ten stream buffers of the MIDI player, allocated once on the first
// playback and reused by every run until the program ends. Each holds up
// to kCapacity bytes: the 1024 bytes of a buffer plus room for the largest
// system exclusive event that is sent whole (12 bytes of event head, 0xF0
// and up to 1017 data bytes, padded to 4).
class CStreamBuffers {
public:
    static constexpr size_t kCount = 10;
    static constexpr size_t kCapacity = 1032;

    // Allocates the buffers when they are not; false when memory ran out
    bool Alloc();
    bool IsAllocated() const { return m_allocated; }
    void Free();

    ByteWriter& Buffer(size_t i) { return m_buffers[i]; }

private:
    std::array<ByteWriter, kCount> m_buffers;
    bool m_allocated = false;
};

} // namespace zib
