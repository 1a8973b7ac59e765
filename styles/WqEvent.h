#pragma once

#include <array>
#include <cstdint>

namespace zib {

// Kinds of the 4-byte events of a Wq style image, by byte 1 (bit 7 set: note;
// otherwise its high nibble).
enum class WqEventKind : uint8_t {
    Other = 0,
    PitchBend = 1,
    Aftertouch = 2,
    ProgramChange = 3,
    ControlChange = 4,
    PolyAftertouch = 5,
    Bar = 6,
    End = 7,
    Note = 8,
};

// Pattern mark of a bar event (byte 3 bits 6-7).
enum class WqBarMark : uint8_t {
    None = 0,      // plain bar
    Continued = 2, // further bar of a pattern reference
    Start = 3,     // first bar of a pattern reference
};

// One event: w0 = bytes 0-1, w1 = bytes 2-3, both little-endian.
struct WqEvent {
    std::array<uint8_t, 4> b{};

    static WqEvent fromBytes(const uint8_t* p) { return WqEvent{{p[0], p[1], p[2], p[3]}}; }

    uint16_t w0() const { return uint16_t(b[0] | (b[1] << 8)); }
    uint16_t w1() const { return uint16_t(b[2] | (b[3] << 8)); }
    WqEventKind kind() const
    {
        if (b[1] & 0x80) return WqEventKind::Note;
        uint8_t k = b[1] >> 4;
        return k >= 1 && k <= 7 ? WqEventKind(k) : WqEventKind::Other;
    }
    bool isBar() const { return kind() == WqEventKind::Bar; }
    bool isEnd() const { return kind() == WqEventKind::End; }

    // Time in ticks from the bar start (510 = tied in), all kinds but bar and end.
    uint16_t time() const { return w0() & 0x1FF; }

    // Note fields
    uint8_t velocity() const { return uint8_t(((w0() >> 9) & 0x3F) * 2); }
    uint16_t duration() const { return w1() & 0x1FF; }
    uint8_t noteNumber() const { return uint8_t(w1() >> 9); }

    // Bar fields
    uint16_t barNumber() const { return w0() & 0x3FF; }
    uint8_t barTimeSig() const { return b[3] & 0x3F; }
    WqBarMark barMark() const { return WqBarMark(b[3] >> 6); }
    bool hasPattern() const { return (b[3] & 0x80) != 0; }
    uint8_t barPattern() const { return b[2]; }

    bool operator==(const WqEvent&) const = default;
};

} // namespace zib
