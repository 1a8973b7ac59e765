#pragma once

#include <cstdint>
#include <span>

namespace zib {

// Turns the bytes an input device reads into channel messages: expands
// running status, drops system exclusive messages, system common messages
// with their data bytes, and real-time bytes (which may fall anywhere, even
// inside another message, without breaking it). Stray data bytes are dropped.
class MidiInputParser {
public:
    // Calls `emit(message)` for every complete channel message, packed as
    // status | data1 << 8 | data2 << 16
    template <typename Emit>
    void Feed(std::span<const uint8_t> bytes, Emit&& emit)
    {
        for (const uint8_t b : bytes) {
            uint32_t message = 0;
            if (Take(b, message)) emit(message);
        }
    }
    void Reset();

private:
    // One byte; true when it completes a channel message
    bool Take(uint8_t byte, uint32_t& message);

    uint8_t m_status = 0;   // running status (0: none)
    uint8_t m_needed = 0;   // data bytes its messages take
    uint8_t m_count = 0;    // data bytes held
    uint8_t m_data[2] = {};
    bool m_skipping = false; // inside system exclusive or a system common message
};

} // namespace zib
