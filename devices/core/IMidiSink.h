#pragma once

#include <cstdint>
#include <span>

namespace zib {

// Where a device sends MIDI bytes at once: a hardware port, the software
// synthesizer, the fake device of the tests. Called on the stream's thread or
// the caller's; implementations must not block for long.
class IMidiSink {
public:
    virtual ~IMidiSink() = default;

    // A short message packed as status | data1 << 8 | data2 << 16
    virtual void SendShort(uint32_t message) = 0;
    // A system exclusive message, 0xF0 ... 0xF7
    virtual void SendLong(std::span<const uint8_t> bytes) = 0;
};

} // namespace zib
