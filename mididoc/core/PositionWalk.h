#pragma once

#include <cstdint>

namespace zib {

class CMidiEvent;
class CMidiParserEx;

// Measure, beat and tick of events met mostly in time order (a pass over the
// array): each search of the time-signature map starts at the measure of the
// event before, which finds what a search from the first measure finds, so a
// pass costs one step per event instead of a search each. When it ends, the
// last event placed goes through the plain search once more, so that the
// map's current measure and signature are what a pass of plain searches
// leaves behind.
class PositionWalk {
public:
    explicit PositionWalk(CMidiParserEx& sequence) : m_sequence(sequence) {}
    ~PositionWalk();
    PositionWalk(const PositionWalk&) = delete;
    PositionWalk& operator=(const PositionWalk&) = delete;

    // Sets the event's measure, beat and tick; false when the map cannot
    // locate its time (the fields stay), as SetEventPosition
    bool Place(CMidiEvent& e);

private:
    CMidiParserEx& m_sequence;
    int32_t m_hint = 0;
    uint32_t m_lastTime = 0;
    bool m_placed = false; // the last event went through the hinted search
};

} // namespace zib
