#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace zib::ulvarf {

// One pattern record of a chord variation: the events one style track plays
// in it, as a property event stream. A fresh record is "cleared": type 0,
// chord 0, key 0, 4/4, 1 bar, not created, and an empty stream whose end of
// track lies at tick 384.
struct CNstPattern {
    static constexpr uint32_t kClearedEnd = 384;

    // Fields
    uint8_t type = 0; // 0 drum and percussion, 1 bass, 2 accompaniment
    uint8_t chord = 0;
    uint8_t key = 0;
    uint8_t numerator = 4;
    uint8_t log2Denominator = 2;
    uint8_t bars = 1;
    uint32_t length = kClearedEnd; // in ticks
    std::vector<uint8_t> stream = ClearedStream();
    bool empty = true;      // the stream's first event is its end of track
    bool notCreated = true;

    // State
    bool created() const { return !notCreated; }
    // Sets the stream and, from it, the empty flag.
    void SetStream(std::vector<uint8_t> bytes);
    // Back to an empty stream ending at 384 and not created; the other
    // fields stay.
    void Clear();

    // The stream of a cleared pattern: end of track at tick 384.
    static std::vector<uint8_t> ClearedStream();
};

} // namespace zib::ulvarf
