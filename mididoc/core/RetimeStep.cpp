#include "mididoc/core/RetimeStep.h"

#include "midi/CMidiParserEx.h"

namespace zib {

RetimeStep::RetimeStep(const CMidiParserEx& sequence) : m_mapBefore(sequence.GetTimeSigMap()) {}

bool RetimeStep::Retime(CMidiParserEx& sequence)
{
    m_moves.clear();
    m_retimed = true;
    const bool ok = RetimeSequence(sequence, &m_moves);
    m_mapAfter = sequence.GetTimeSigMap();
    return ok;
}

bool RetimeStep::Undo(CMidiParserEx& sequence) const
{
    if (!m_retimed) return true;
    for (auto it = m_moves.rbegin(); it != m_moves.rend(); ++it) {
        CMidiEvent* e = sequence.GetEvent(it->to);
        if (!e || !IsTimeSignatureEvent(*e) || e->time != it->newTime) return false;
        e->time = it->time;
        e->beat = it->beat;
        e->tick = it->tick;
        MoveEventTo(sequence, it->to, it->from);
    }
    sequence.SetTimeSigMap(m_mapBefore);
    return RepositionEvents(sequence);
}

bool RetimeStep::Redo(CMidiParserEx& sequence) const
{
    if (!m_retimed) return true;
    sequence.SetTimeSigMap(m_mapAfter);
    for (const RetimeMove& m : m_moves) {
        CMidiEvent* e = sequence.GetEvent(m.from);
        if (!e || !IsTimeSignatureEvent(*e) || e->time != m.time) return false;
        e->time = m.newTime;
        e->beat = 0;
        e->tick = 0;
        MoveEventTo(sequence, m.from, m.to);
    }
    return RepositionEvents(sequence);
}

} // namespace zib
