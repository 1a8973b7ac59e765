#include "mididoc/core/PositionWalk.h"

#include "midi/CMidiParserEx.h"
#include "mididoc/core/SequenceEdits.h"

namespace zib {

PositionWalk::~PositionWalk()
{
    uint32_t measure = 0, beat = 0, tick = 0;
    if (m_placed) m_sequence.TickToMbt(m_lastTime, measure, beat, tick);
}

bool PositionWalk::Place(CMidiEvent& e)
{
    int32_t measure = m_hint;
    uint32_t beat = 0, tick = 0;
    if (m_sequence.TickToMbtHinted(e.time, measure, beat, tick) != 0) {
        // The plain search decides, and reports, what the map cannot do.
        m_placed = false;
        return SetEventPosition(m_sequence, e);
    }
    e.measure = uint32_t(measure);
    e.beat = beat;
    e.tick = tick;
    m_hint = measure;
    m_lastTime = e.time;
    m_placed = true;
    return true;
}

} // namespace zib
