#pragma once

#include <cstddef>
#include <cstdint>

namespace zib {

class CMidiEvent;
class CMidiParserEx;

// Edits of the sequence shared by the MIDI document and the undo manager.

// After the time of the event at `index` changed from oldTick to newTick,
// moves it to its sorted place and returns its new index: moved earlier it
// lands after the events of equal time, moved later before them. The index
// fields of the events it passes are renumbered. An index past the array
// returns the last index and moves nothing.
size_t MoveEventToSortedPlace(CMidiParserEx& sequence, size_t index, uint32_t oldTick, uint32_t newTick);

// A time-signature meta event (0xFF 0x58 ...)
bool IsTimeSignatureEvent(const CMidiEvent& e);

// The note value of a time-signature event's denominator byte (a power of
// two): 1 -> 2, 2 -> 4 ... 7 -> 128; 0 and anything above 7 count as 4
uint8_t TimeSignatureDenominator(uint8_t power);

} // namespace zib
