#include "devices/core/CMeasureTable.h"

#include "midi/CMidiParserEx.h"

#include <algorithm>

namespace zib {

bool CMeasureTable::Build(CMidiParserEx& sequence)
{
    m_built = false;
    m_division = sequence.GetDivision() != 0 ? sequence.GetDivision() : 96;
    const auto& events = sequence.GetEvents();
    if (!events.empty() && events.back()->measure + 1 >= kMaxMeasures) return false;
    for (uint32_t m = 0; m < kMaxMeasures; ++m) {
        Row& r = m_rows[m];
        r.firstEvent = 0;
        r.startTick = sequence.GetMeasureStartTick(m);
        r.length = sequence.GetMeasureLength(m);
        r.numerator = sequence.GetNumeratorAtMeasure(m);
        r.denominator = sequence.GetDenominatorAtMeasure(m);
        if (r.denominator == 0) r.denominator = 4;
        if (r.numerator == 0) r.numerator = 4;
        if (r.length == 0) r.length = r.numerator * m_division * 4 / r.denominator;
    }
    uint32_t lastMeasure = UINT32_MAX;
    for (size_t i = 0; i < events.size(); ++i) {
        const uint32_t m = events[i]->measure;
        if (m != lastMeasure && m < kMaxMeasures) {
            m_rows[m].firstEvent = uint32_t(i);
            lastMeasure = m;
        }
    }
    m_built = true;
    return true;
}

uint32_t CMeasureTable::TicksPerBeat(uint32_t measure) const
{
    const Row& r = At(measure);
    return std::max<uint32_t>(1, m_division * 4 / r.denominator);
}

void CMeasureTable::TicksToMbt(uint32_t tick, uint32_t& measure, uint32_t& beat, uint32_t& tickInBeat) const
{
    // The last measure whose start is not after the tick
    const auto it = std::upper_bound(m_rows.begin(), m_rows.end(), tick,
                                     [](uint32_t t, const Row& r) { return t < r.startTick; });
    uint32_t m = it == m_rows.begin() ? 0 : uint32_t(it - m_rows.begin()) - 1;
    uint32_t rest = tick - std::min(tick, m_rows[m].startTick);
    if (m == kMaxMeasures - 1 && rest >= m_rows[m].length && m_rows[m].length > 0) {
        const uint32_t more = rest / m_rows[m].length;
        m += more;
        rest -= more * m_rows[kMaxMeasures - 1].length;
    }
    const uint32_t tpb = TicksPerBeat(std::min(m, kMaxMeasures - 1));
    measure = m;
    beat = rest / tpb;
    tickInBeat = rest % tpb;
}

} // namespace zib
