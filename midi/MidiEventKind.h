#pragma once

#include "midi/CMidiNode.h"

#include <cstddef>
#include <cstdint>

namespace zib {

// What a stored event is, read from its status and raw bytes (a channel
// event holds its data bytes only). Shared by every holder of events.

inline bool isChannelStatus(uint8_t status)
{
    return status >= 0x80 && status < 0xF0;
}

// Raw byte i of the event; 0 when it holds fewer bytes.
inline uint8_t eventDataByte(const CMidiNode& e, size_t i)
{
    return i < e.length && i < e.data.size() ? e.data[i] : 0;
}

// A note-on with a velocity above 0.
inline bool isNoteOn(const CMidiNode& e)
{
    return (e.status & 0xF0) == 0x90 && eventDataByte(e, 1) > 0;
}

// A note-off, or a note-on with velocity 0.
inline bool isNoteOff(const CMidiNode& e)
{
    return (e.status & 0xF0) == 0x80 || ((e.status & 0xF0) == 0x90 && eventDataByte(e, 1) == 0);
}

} // namespace zib
