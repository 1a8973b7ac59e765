#pragma once

#include <cstdint>

namespace zib {

class CMidiParserEx;
class CUndoManager;

// The shift of the document and of the event list: every event whose edit
// state is `mark` moves by `distance` ticks, limited so that none goes before
// tick 0 or past the last tick; the array is sorted again (events of equal
// time keep their order) and each move is recorded as a modify from its old
// to its new position in one group, walking from the last event for a move
// to later times and from the first for a move to earlier ones. The marks are
// cleared and the array renumbered. False when nothing moved.
bool ShiftMarkedEvents(CMidiParserEx& sequence, CUndoManager& undo, uint16_t mark, int64_t distance);

} // namespace zib
