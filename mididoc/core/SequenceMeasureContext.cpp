#include "mididoc/core/SequenceMeasureContext.h"

#include "midi/CMidiFileEx.h"

#include <limits>

namespace zib {

uint32_t SequenceMeasureContext::ToTick(uint32_t bar, uint32_t beat, uint32_t tickInBeat) const
{
    const uint32_t denominator = m_sequence.GetDenominatorAtMeasure(bar);
    const uint64_t perBeat = denominator ? uint64_t(m_sequence.GetDivision()) * 4 / denominator : 0;
    const uint64_t tick = uint64_t(m_sequence.GetMeasureStartTick(bar)) + beat * perBeat + tickInBeat;
    return uint32_t(std::min<uint64_t>(tick, std::numeric_limits<uint32_t>::max()));
}

PositionRecord SequenceMeasureContext::FromTick(uint32_t tick) const
{
    PositionRecord p;
    p.tick = tick;
    if (m_sequence.TickToMbt(tick, p.bar, p.beat, p.tickInBeat) != 0) p = PositionRecord{};
    return p;
}

bool SequenceMeasureContext::WithinLimit(uint32_t tick) const
{
    uint32_t measure = 0, beat = 0, inBeat = 0;
    return m_sequence.TickToMbt(tick, measure, beat, inBeat) == 0 && measure < kMaxMeasures;
}

} // namespace zib
