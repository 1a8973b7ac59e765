#pragma once

// Buffers of MIDI stream events as the device layer reads them: a builder
// for the layer's tests and a one-line-per-event text for golden dumps.

#include "devices/core/MidiHeader.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zib::test {

// Writes stream events {delta, 0, word} (long data padded to 4) and binds a
// header to them.
class StreamBufferBuilder {
public:
    StreamBufferBuilder& Event(uint32_t delta, uint32_t word);
    // A long message: its bytes (0xF0 ... 0xF7); `announced` overrides the length in the word
    StreamBufferBuilder& Long(uint32_t delta, const std::vector<uint8_t>& bytes, uint32_t announced = 0);
    // The header over the bytes written so far (capacity = bytes used unless given)
    MidiHeader& Header(uintptr_t user = 0, uint32_t capacity = 0);
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
    MidiHeader m_header;
};

// The events of a buffer, one per line: "<delta> short 90 3C 64", "<delta>
// tempo 500000", "<delta> nop 2", "<delta> nop 4 callback", "<delta> long
// F0 .. F7 (n)"; a torn end reads "torn".
std::string DescribeStreamEvents(const uint8_t* data, uint32_t bytes);

} // namespace zib::test
