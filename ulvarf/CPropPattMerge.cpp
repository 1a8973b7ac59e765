#include "ulvarf/CPropPattMerge.h"

#include "ulvarf/CCvUseTimes.h"
#include "ulvarf/CPropEventList.h"
#include "ulvarf/TraceMessage.h"

#include <algorithm>
#include <map>
#include <vector>

namespace zib::ulvarf {

namespace {

constexpr size_t kTracks = 8;
constexpr uint64_t kMaxTick = UINT32_MAX;

struct Placement {
    uint64_t start = 0;
    size_t chunk = 0;
};

// Where a chunk's stream ends: its end of track, or its length when the
// stream has none.
uint32_t chunkEnd(const CPropEventList& events, const CQeStyleTree::Pattern& chunk)
{
    return events.hasEnd() ? events.endTick() : std::max(chunk.length, events.lastTick());
}

// Joins the chunks a group of uses plays; null when they cannot be joined
// into one stream (ticks or deltas out of range).
std::optional<CQeStyleTree::Pattern> mergeGroup(const CQeStyleTree& tree, const std::vector<size_t>& uses,
                                                const CCvUseTimes& times, std::span<const long> chunkOfUse,
                                                size_t& eventBudget)
{
    std::vector<Placement> placements;
    uint64_t length = 0;
    bool cut = false;
    for (size_t use : uses) {
        const size_t chunk = size_t(chunkOfUse[use]);
        const uint32_t period = tree.patterns[chunk].length;
        for (const CCvUseTimes::Interval& interval : times.Intervals(use)) {
            length = std::max<uint64_t>(length, interval.end);
            if (interval.end <= interval.start) continue;
            uint64_t reps = period ? (uint64_t(interval.length()) + period - 1) / period : 1;
            for (uint64_t r = 0; r < reps; ++r) {
                if (placements.size() == CPropPattMerge::kMaxPlacements) {
                    cut = true;
                    break;
                }
                placements.push_back({interval.start + r * period, chunk});
            }
        }
    }
    const size_t first = size_t(chunkOfUse[uses.front()]);
    const CQeStyleTree::Pattern& head = tree.patterns[first];
    if (placements.empty()) return head;
    if (placements.size() == 1 && placements[0].start == 0 && length <= head.length) return head;
    std::stable_sort(placements.begin(), placements.end(),
                     [](const Placement& a, const Placement& b) { return a.start < b.start; });

    std::map<size_t, CPropEventList> decoded;
    CPropEventList merged;
    uint64_t end = 0;
    for (const Placement& placement : placements) {
        auto found = decoded.find(placement.chunk);
        if (found == decoded.end()) {
            found = decoded.emplace(placement.chunk, CPropEventList::Decode(tree.patterns[placement.chunk].stream)).first;
        }
        const CPropEventList& events = found->second;
        if (merged.size() + events.size() > std::min(CPropPattMerge::kMaxEvents, eventBudget)) {
            cut = true;
            break;
        }
        const uint64_t placedEnd = placement.start + chunkEnd(events, tree.patterns[placement.chunk]);
        if (placedEnd > kMaxTick) return std::nullopt;
        end = std::max(end, placedEnd);
        for (const CPropEventList::Event& event : events.events()) {
            merged.AppendFrom(events, event, uint32_t(placement.start + event.tick));
        }
    }
    eventBudget -= merged.size();
    if (cut) TraceMessage("CPropPattMerge::Merge() - Pattern repeats beyond %zu placements or %zu events; cut",
                          CPropPattMerge::kMaxPlacements, merged.size());
    merged.SortByTick();
    auto stream = merged.Encode(uint32_t(end));
    if (!stream || length > kMaxTick) return std::nullopt;

    CQeStyleTree::Pattern result;
    result.id = head.id;
    result.chord = head.chord;
    result.key = head.key;
    result.length = uint32_t(length);
    result.stream = std::move(*stream);
    return result;
}

} // namespace

bool CPropPattMerge::NeedsMerging(const CQeStyleTree::ChordVar& cv, const CCvUseTimes& times,
                                  std::span<const long> chunkOfUse)
{
    if (cv.uses.size() > kTracks || times.hasStop()) return true;
    std::array<bool, kTracks> seen{};
    for (size_t k = 0; k < cv.uses.size(); ++k) {
        if (chunkOfUse[k] < 0) continue;
        const uint8_t track = cv.uses[k].track;
        if (seen[track]) return true;
        seen[track] = true;
    }
    return false;
}

std::array<std::optional<CQeStyleTree::Pattern>, 8> CPropPattMerge::Merge(const CQeStyleTree& tree,
                                                                          const CQeStyleTree::ChordVar& cv,
                                                                          const CCvUseTimes& times,
                                                                          std::span<const long> chunkOfUse, bool merge,
                                                                          size_t& eventBudget)
{
    std::array<std::optional<Pattern>, kTracks> result;
    if (!merge) {
        for (size_t k = 0; k < cv.uses.size(); ++k) {
            if (chunkOfUse[k] >= 0) result[cv.uses[k].track] = tree.patterns[size_t(chunkOfUse[k])];
        }
        return result;
    }
    std::array<std::vector<size_t>, kTracks> groups;
    for (size_t k = 0; k < cv.uses.size(); ++k) {
        if (chunkOfUse[k] >= 0) groups[cv.uses[k].track].push_back(k);
    }
    for (size_t t = 0; t < kTracks; ++t) {
        if (groups[t].empty()) continue;
        result[t] = mergeGroup(tree, groups[t], times, chunkOfUse, eventBudget);
        if (!result[t]) {
            TraceMessage("CPropPattMerge::Merge() - Track %zu cannot be merged; its first pattern is kept", t);
            result[t] = tree.patterns[size_t(chunkOfUse[groups[t].front()])];
        }
    }
    return result;
}

} // namespace zib::ulvarf
