#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zib {

class CMidiEvent;
class CMidiParserEx;

// Reading events and editing the sequence, shared by the document, its lists
// and the undo manager. Every read of an event's bytes stays inside its raw
// length.

// The meta type of a meta event (0xFF, type, length, data); -1 for any other event
int MetaType(const CMidiEvent& e);
// The data of a meta or system-exclusive event after its length; false when
// the event holds no length or fewer bytes than its length announces
bool MetaData(const CMidiEvent& e, std::span<const uint8_t>& data);
bool IsTimeSignatureEvent(const CMidiEvent& e);

// The note value of a time-signature event's denominator byte (a power of
// two): 1 -> 2, 2 -> 4 ... 7 -> 128; 0 and anything above 7 count as 4
uint8_t TimeSignatureDenominator(uint8_t power);
// Numerator and note value of a time-signature event; false when its data
// are shorter than four bytes or the numerator is 0 (the map ignores it)
bool TimeSignatureOf(const CMidiEvent& e, uint8_t& numerator, uint8_t& denominator);

// Measure, beat and tick of the event's time from the map; false when the
// map cannot locate it (the fields stay)
bool SetEventPosition(CMidiParserEx& sequence, CMidiEvent& e);

// After an event's time changed from oldTick to newTick, moves it to its
// sorted place and returns its new index: moved earlier it lands after the
// events of equal time, moved later before them. The two events of each
// exchange trade their places and get their new indexes. An index past the
// array returns the last index and moves nothing.
size_t MoveEventToSortedPlace(CMidiParserEx& sequence, size_t index, uint32_t oldTick, uint32_t newTick);

// The measure of the first time-signature event of track 0 at or after
// position `from`; -1 (to the end of the map) when there is none
int32_t NextTimeSignatureMeasure(const CMidiParserEx& sequence, size_t from);

// One time-signature event that a re-timing changed: its array position
// before and after the move (the events between shift by one), its time, beat
// and tick before, and its time after (the start of its measure, beat and
// tick 0)
struct RetimeMove {
    uint32_t from = 0;
    uint32_t to = 0;
    uint32_t time = 0;
    uint32_t beat = 0;
    uint32_t tick = 0;
    uint32_t newTime = 0;
    bool operator==(const RetimeMove&) const = default;
};

// After the time-signature map changed: every time-signature event takes the
// start tick of its measure and its sorted place; every other event keeps its
// time and takes its new measure, beat and tick. False when the map fails.
// `moves` (when given) receives every time signature changed, in order.
bool RetimeSequence(CMidiParserEx& sequence, std::vector<RetimeMove>* moves = nullptr);

// Moves the event at `from` to position `to`; the events between shift by one
// and every one of them gets its new index
void MoveEventTo(CMidiParserEx& sequence, size_t from, size_t to);

// Measure, beat and tick of every event but the time signatures from the
// map, and in the same pass every event's index (its edit state cleared, as
// CMidiParserEx::Renumber does); false when the map cannot locate one
bool RepositionEvents(CMidiParserEx& sequence);

} // namespace zib
