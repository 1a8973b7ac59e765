#pragma once

#include "ulvarf/CChunkNavComp.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace zib::ulvarf {

// The index of a container: up to 2000 entries, each with its 24 index bytes
// and the resource chunk it owns.
//
// Index entry:
//   byte   field
//   0-16   name, up to 17 characters
//   17     NUL after a rename
//   18     type
//   19     user byte 1
//   20     user byte 2
//   21     id1
//   22     id2
//   23     reserved (0 in new entries, carried over from a read image)
struct CResManInfo {
    static constexpr size_t kMaxEntries = 2000;
    static constexpr size_t kEntrySize = 24;
    static constexpr size_t kNameLength = 17;
    static constexpr size_t kType = 18;
    static constexpr size_t kUser1 = 19;
    static constexpr size_t kUser2 = 20;
    static constexpr size_t kId1 = 21;
    static constexpr size_t kId2 = 22;

    struct Entry {
        std::array<uint8_t, kEntrySize> info{};
        std::unique_ptr<CChunkNavComp> chunk;
    };

    std::vector<Entry> entries;
};

} // namespace zib::ulvarf
