#include "mididoc/core/PairIndex.h"

#include "midi/CMidiParserEx.h"

#include <algorithm>

namespace zib {

PairIndex::PairIndex(const CMidiParserEx& sequence) : m_sequence(sequence)
{
    const auto& events = sequence.GetEvents();
    int32_t highest = -1;
    size_t paired = 0;
    for (size_t i = 0; i < events.size(); ++i) {
        sequence.PrefetchAhead(i);
        if (const int32_t id = events[i]->pairId; id >= 0) {
            highest = std::max(highest, id);
            ++paired;
        }
    }
    m_positions.resize(paired);
    if (paired == 0) return;
    if (size_t(highest) > 4 * paired + 1024) {
        // Ids spread far apart: sorted by comparison
        size_t k = 0;
        for (size_t i = 0; i < events.size(); ++i)
            if (events[i]->pairId >= 0) m_positions[k++] = {events[i]->pairId, uint32_t(i)};
        std::sort(m_positions.begin(), m_positions.end());
        return;
    }
    // Ids close together (a song's notes are numbered as they are read):
    // counted into place in one pass, each id's positions in array order.
    std::vector<uint32_t> start(size_t(highest) + 2, 0);
    for (size_t i = 0; i < events.size(); ++i) {
        sequence.PrefetchAhead(i);
        if (const int32_t id = events[i]->pairId; id >= 0) ++start[size_t(id) + 1];
    }
    for (size_t id = 1; id < start.size(); ++id)
        start[id] += start[id - 1];
    for (size_t i = 0; i < events.size(); ++i) {
        sequence.PrefetchAhead(i);
        if (const int32_t id = events[i]->pairId; id >= 0) m_positions[start[size_t(id)]++] = {id, uint32_t(i)};
    }
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
