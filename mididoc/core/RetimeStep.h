#pragma once

#include "midi/CTimeSigRecord.h"
#include "mididoc/core/SequenceEdits.h"

#include <cstdint>
#include <vector>

namespace zib {

class CMidiParserEx;

// One change of the time-signature map as the edit made it, so that Undo and
// Redo give the sequence back exactly: the map before and after, and every
// time signature that the re-timing moved, with its place among the events of
// its tick. (Re-timing anew would put a signature that goes back earlier after
// the other events of its tick, wherever it stood.)
//
//   RetimeStep step(sequence);               // the map before
//   sequence.SetTimeSignature(...);
//   step.Retime(sequence);                   // re-times; the moves, the map after
//
// A step that was never re-timed changes nothing: a record that carries it
// was made without a change of the map.
class RetimeStep {
public:
    RetimeStep() = default;
    explicit RetimeStep(const CMidiParserEx& sequence);

    // Re-times the sequence (RetimeSequence) and keeps what it did
    bool Retime(CMidiParserEx& sequence);

    // Back to the map before, every moved signature to its place and time
    // before; again to the map after and the places after. The other events
    // take their measure, beat and tick from the map, and the array is
    // renumbered. False when a moved signature is not where the step left
    // (or found) it.
    bool Undo(CMidiParserEx& sequence) const;
    bool Redo(CMidiParserEx& sequence) const;

    bool ChangesMap() const { return m_retimed; }
    const std::vector<RetimeMove>& Moves() const { return m_moves; }

private:
    std::vector<CTimeSigRecord> m_mapBefore;
    std::vector<CTimeSigRecord> m_mapAfter;
    std::vector<RetimeMove> m_moves;
    bool m_retimed = false;
};

} // namespace zib
