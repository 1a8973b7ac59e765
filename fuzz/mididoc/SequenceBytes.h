#pragma once

#include "midi/CMidiParserEx.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace zib::fuzz {

// Every event of a sequence as bytes (time, track, status, data), in array
// order: what must come back unchanged when an edit is refused or undone.
inline std::vector<uint8_t> sequenceBytes(const CMidiParserEx& seq)
{
    std::vector<uint8_t> out;
    for (const auto& e : seq.GetEvents()) {
        for (int shift = 0; shift < 32; shift += 8)
            out.push_back(uint8_t(e->time >> shift));
        out.push_back(e->track);
        out.push_back(e->status);
        out.insert(out.end(), e->data.begin(),
                   e->data.begin() + std::ptrdiff_t(std::min<size_t>(e->length, e->data.size())));
    }
    return out;
}

} // namespace zib::fuzz
