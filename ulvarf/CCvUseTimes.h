#pragma once

#include "ulvarf/CPropEventList.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zib::ulvarf {

// When the pattern uses of one CV record play, as its control stream says.
// Control events are meta 0x7E events: data 3, k, 0, 0 starts use k, data
// 4, k stops it, data 2, p changes the tempo to p percent.
//
// A use plays from each start to the next stop, or to the CV's end (at least
// its stored length) when no stop follows; a start while the use plays
// restarts it. A use with no start at all plays from tick 0 (kept on
// purpose: it is listed in the CV, so it plays). Control events that name a
// use the CV does not have are ignored and traced.
class CCvUseTimes {
public:
    // First data bytes of the control events of a CV stream
    static constexpr uint8_t kTempo = 2;
    static constexpr uint8_t kStart = 3;
    static constexpr uint8_t kStop = 4;

    struct Interval {
        uint32_t start = 0;
        uint32_t end = 0;
        bool toCvEnd = false; // no stop event ends it
        uint32_t length() const { return end - start; }
    };

    // Measuring
    CCvUseTimes(std::span<const uint8_t> cvStream, uint32_t cvLength, size_t uses);
    // The CV's end after its stored length changed; the open intervals follow it.
    void SetCvLength(uint32_t cvLength);

    // Results
    uint32_t cvEnd() const { return cvEnd_; }
    const std::vector<Interval>& Intervals(size_t use) const { return intervals_[use]; }
    bool hasStop() const { return hasStop_; }
    const CPropEventList& events() const { return events_; }
    // True when event i is a start or stop control event (data 3 or 4).
    bool IsStartOrStop(size_t i) const { return IsStartOrStop(events_, events_[i]); }

    // Start and stop control events of any CV stream
    static bool IsStartOrStop(const CPropEventList& events, const CPropEventList::Event& event);
    // The use a start or stop event names.
    static uint8_t UseOf(const CPropEventList& events, const CPropEventList::Event& event);
    // Appends a start (3, use, 0, 0) or a stop (4, use) of a pattern use.
    static void AppendStart(CPropEventList& events, uint32_t tick, uint8_t use);
    static void AppendStop(CPropEventList& events, uint32_t tick, uint8_t use);

private:
    void build();

    CPropEventList events_;
    uint32_t streamEnd_ = 0;
    uint32_t cvEnd_ = 0;
    bool hasStop_ = false;
    std::vector<std::vector<Interval>> intervals_;
};

} // namespace zib::ulvarf
