#include "mididoc/core/PairIndex.h"

#include "midi/CMidiParserEx.h"

#include <algorithm>

namespace zib {

PairIndex::PairIndex(const CMidiParserEx& sequence) : m_sequence(sequence)
{
    const auto& events = sequence.GetEvents();
    m_positions.reserve(events.size());
    for (size_t i = 0; i < events.size(); ++i)
        if (events[i]->pairId >= 0) m_positions.emplace_back(events[i]->pairId, uint32_t(i));
    std::sort(m_positions.begin(), m_positions.end());
}

int64_t PairIndex::Partner(size_t index, int sortMethod) const
{
    const CMidiEvent* e = m_sequence.GetEvent(index);
    if (!e || e->paired == 0) return -1;
    size_t start = index;
    if (sortMethod == 0)
        while (start > 0 && m_sequence.GetEvent(start - 1)->time == e->time)
            --start;
    const auto first = std::lower_bound(m_positions.begin(), m_positions.end(), std::make_pair(e->pairId, uint32_t(start)));
    for (auto it = first; it != m_positions.end() && it->first == e->pairId; ++it)
        if (it->second != index) return it->second;
    return -1;
}

int64_t PairIndex::LaterPartner(size_t index) const
{
    const CMidiEvent* e = m_sequence.GetEvent(index);
    if (!e || e->pairId < 0) return -1;
    const auto it = std::upper_bound(m_positions.begin(), m_positions.end(), std::make_pair(e->pairId, uint32_t(index)));
    return it != m_positions.end() && it->first == e->pairId ? int64_t(it->second) : -1;
}

} // namespace zib
