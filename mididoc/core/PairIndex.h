#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace zib {

class CMidiParserEx;

// The note partners of a whole command, looked up in one index instead of a
// search per note: the positions of every pair id, built in one pass over the
// array. Valid until the array changes.
class PairIndex {
public:
    explicit PairIndex(const CMidiParserEx& sequence);

    // The partner of the paired event at `index`: the first position other
    // than `index` with its pair id, looking from the index on, or (sortMethod
    // 0) from the first event of the index's time on; -1 when there is none
    // or the event is not paired.
    int64_t Partner(size_t index, int sortMethod) const;
    // The first later event with the same pair id; -1 when there is none
    int64_t LaterPartner(size_t index) const;

private:
    const CMidiParserEx& m_sequence;
    std::vector<std::pair<int32_t, uint32_t>> m_positions; // (pair id, position), sorted
};

} // namespace zib
