#pragma once

#include "midi/EventBytes.h"

#include <cstdint>

namespace zib {

// Root of the MIDI event objects: the part of an event that every holder
// (the editable sequence, the format converter, the CV reader) needs.
//
// Raw bytes in `data` (the first `length` bytes count):
//   channel event (0x80-0xEF)  data bytes only (1 or 2); the status is in
//                              `status`; the buffer is 6 bytes long so that
//                              an editor can change the event's kind in place
//   system exclusive           status (0xF0/0xF7), variable-length data length, data
//   meta event                 0xFF, type, variable-length data length, data
// The buffer belongs to the event and goes with it.
class CMidiNode {
public:
    CMidiNode() = default;
    virtual ~CMidiNode();

    // Stores `n` bytes as the raw bytes; the buffer holds at least
    // `allocate` bytes (zero-filled past `n`).
    void SetData(const uint8_t* bytes, uint32_t n, uint32_t allocate = 0);

    // Position and size
    uint32_t time = 0;   // absolute ticks from the start of the track (sequence, once merged)
    uint32_t length = 0; // raw bytes held in `data` (32 bits: long sysex data stay whole)
    uint16_t state = 0;  // edit state; 0 = untouched

    // Delta to the previous event of the same output track, as a
    // variable-length number, filled when a track is rebuilt from events
    uint8_t deltaSize = 0;
    uint8_t deltaBytes[5] = {};

    // What the event is
    uint8_t status = 0;        // 0x80-0xEF channel, 0xF0/0xF7 sysex, 0xFF meta
    uint32_t index = 0;        // position in the array that owns it
    EventBytes data; // raw bytes, see above (short ones kept in the event)
};

} // namespace zib
