#pragma once

#include "midi/CMidiFileEx.h"

#include <cstdint>

namespace zib {

class CMidiEvent;

// Replays the measure map that the MIDI reader builds while it reads a file,
// chunk by chunk and event by event, to tell where a time signature may
// stand: the reader accepts one only at the start of a measure of the map as
// it stands when the event is read, and refuses the whole file otherwise.
class TimeSignatureReplay : private CMidiFileEx {
public:
    explicit TimeSignatureReplay(uint16_t division);

    // A track chunk starts: the reader goes back to measure 0.
    int StartChunk();
    // The reader reaches `event`, to be written at tick `t`. A time signature
    // that would fall inside a measure moves to the start of that measure:
    // `t` then holds that tick. Returns 0 or the reader's error code.
    int Event(const CMidiEvent& event, uint32_t& t);
    // The chunk's end of track at tick `t`.
    int EndOfChunk(uint32_t t);

private:
    int TimeSignatureAt(uint32_t t, uint8_t numerator, uint8_t denominatorPower);
};

} // namespace zib
