#include "ulvarf/CPropPattUnmerge.h"

#include "ulvarf/CEncoderProp.h"

#include "ulvarf/CCvUseTimes.h"
#include "ulvarf/CPropEventList.h"
#include "ulvarf/QeTime.h"
#include "ulvarf/TraceMessage.h"

#include <algorithm>
#include <array>
#include <optional>
#include <unordered_map>

namespace zib::ulvarf {

namespace {

using Pattern = CQeStyleTree::Pattern;

constexpr uint8_t kStart = CCvUseTimes::kStart;
constexpr uint32_t kDefaultBar = 1536; // 4/4

// Controllers that must be at these values for a track to be at rest.
constexpr std::array<std::pair<uint8_t, uint8_t>, 6> kRestControllers = {
    {{1, 0}, {10, 64}, {11, 100}, {64, 0}, {71, 64}, {74, 64}}};

// Whether the notes, sounds, pitch bend and controllers of a pattern are at
// rest after the events given so far.
class RestState {
public:
    void Add(const CPropEventList& events, const CPropEventList::Event& event)
    {
        if (events.Bytes(event)[0] & 0x20) return; // a form without a defined event
        const uint8_t key = events.Payload(event, 0) & 0x7F;
        switch (event.kind) {
        case PropKind::NoteOn: press(notes_[key]); break;
        case PropKind::NoteOff: release(notes_[key]); break;
        case PropKind::VexSoundOn: press(sounds_[key]); break;
        case PropKind::VexSoundOff: release(sounds_[key]); break;
        case PropKind::Note:
        case PropKind::VexSound: {
            const uint32_t duration = PropEvent::DurationTicks(
                uint16_t((events.Payload(event, 2) & 0x7F) << 7 | (events.Payload(event, 3) & 0x7F)));
            heldUntil_ = std::max<uint64_t>(heldUntil_, uint64_t(event.tick) + duration);
            break;
        }
        case PropKind::PitchBend: bendMsb_ = events.Payload(event, 1) & 0x7F; break;
        case PropKind::ControlChange:
            for (size_t i = 0; i < kRestControllers.size(); ++i) {
                if (kRestControllers[i].first == key) controllers_[i] = events.Payload(event, 1) & 0x7F;
            }
            break;
        default: break;
        }
    }

    // At rest at `tick`: nothing held and nothing sounding past it.
    bool AtRest(uint32_t tick) const
    {
        if (held_ > 0 || heldUntil_ > tick || bendMsb_ != 64) return false;
        for (size_t i = 0; i < kRestControllers.size(); ++i) {
            if (controllers_[i] != kRestControllers[i].second) return false;
        }
        return true;
    }

private:
    void press(int& count)
    {
        if (count++ == 0) ++held_;
    }
    void release(int& count)
    {
        if (count > 0 && --count == 0) --held_;
    }

    std::array<int, 128> notes_{};
    std::array<int, 128> sounds_{};
    int held_ = 0;
    uint64_t heldUntil_ = 0;
    uint8_t bendMsb_ = 64;
    std::array<uint8_t, kRestControllers.size()> controllers_ = {0, 64, 100, 0, 64, 64};
};

uint64_t hashOf(const Pattern& chunk)
{
    uint64_t h = 1469598103934665603ull;
    auto mix = [&h](uint8_t b) { h = (h ^ b) * 1099511628211ull; };
    mix(chunk.id);
    for (int i = 0; i < 4; ++i) mix(uint8_t(chunk.length >> (8 * i)));
    mix(chunk.chord);
    mix(chunk.key);
    for (uint8_t b : chunk.stream) mix(b);
    return h;
}

bool sameChunk(const Pattern& a, const Pattern& b)
{
    return a.id == b.id && a.length == b.length && a.stream.size() == b.stream.size() && a.chord == b.chord &&
           a.key == b.key && a.stream == b.stream;
}

// The chunks of the shared tree, each stored once.
class SharedChunks {
public:
    size_t Place(Pattern chunk)
    {
        const uint64_t h = hashOf(chunk);
        auto [first, last] = index_.equal_range(h);
        for (auto it = first; it != last; ++it) {
            if (sameChunk(chunks_[it->second], chunk)) return it->second;
        }
        chunks_.push_back(std::move(chunk));
        index_.emplace(h, chunks_.size() - 1);
        return chunks_.size() - 1;
    }
    std::vector<Pattern> Take() { return std::move(chunks_); }

private:
    std::vector<Pattern> chunks_;
    std::unordered_multimap<uint64_t, size_t> index_;
};

// A run of identical consecutive parts: one use.
struct PartRun {
    size_t chunk = 0;
    uint32_t start = 0;
    uint32_t end = 0;
    size_t parts = 1;
};

// Replaces the uses of split chunks in one CV; false when the CV's stream
// cannot be written again.
bool rebuildCv(CQeStyleTree::ChordVar& cv, const std::vector<size_t>& oldChunks,
               const std::vector<std::vector<PartRun>>& runsOf, const std::vector<bool>& split,
               std::vector<size_t>& newChunks)
{
    const CPropEventList events = CPropEventList::Decode(cv.stream);
    const size_t oldCount = cv.uses.size();
    std::vector<CQeStyleTree::Use> uses;
    std::vector<size_t> firstNew(oldCount);
    std::vector<std::optional<uint32_t>> origin(oldCount);
    for (size_t k = 0; k < oldCount; ++k) {
        firstNew[k] = uses.size();
        for (const PartRun& run : runsOf[oldChunks[k]]) {
            uses.push_back(cv.uses[k]);
            newChunks.push_back(run.chunk);
        }
    }
    if (uses.size() > UINT8_MAX) return false;

    CPropEventList out;
    for (const CPropEventList::Event& event : events.events()) {
        if (!CCvUseTimes::IsStartOrStop(events, event)) {
            out.AppendFrom(events, event, event.tick);
            continue;
        }
        const auto data = events.MetaData(event);
        const uint8_t k = data[1];
        if (k >= oldCount) {
            out.AppendFrom(events, event, event.tick);
        } else if (split[oldChunks[k]]) {
            if (data[0] == kStart && !origin[k]) origin[k] = event.tick;
        } else {
            std::vector<uint8_t> renumbered(data.begin(), data.end());
            renumbered[1] = uint8_t(firstNew[k]);
            out.AppendMeta(event.tick, CPropEventList::kMetaControl, renumbered);
        }
    }
    for (size_t k = 0; k < oldCount; ++k) {
        if (!split[oldChunks[k]]) continue;
        const std::vector<PartRun>& runs = runsOf[oldChunks[k]];
        const uint64_t from = origin[k].value_or(0);
        for (size_t j = 0; j < runs.size(); ++j) {
            const uint64_t start = from + runs[j].start;
            const uint64_t end = from + runs[j].end;
            if (end > UINT32_MAX) return false;
            CCvUseTimes::AppendStart(out, uint32_t(start), uint8_t(firstNew[k] + j));
            // A pattern whose parts all came out identical is one use that
            // plays its chunk several times; a reader takes such a use in a CV
            // without stops as one long pattern, so it gets a stop at its end
            // and reads back merged, every repetition included.
            const bool loneRepeat = runs.size() == 1 && runs[j].parts > 1;
            if ((j + 1 < runs.size() && end < cv.length) || loneRepeat)
                CCvUseTimes::AppendStop(out, uint32_t(end), uint8_t(firstNew[k] + j));
        }
    }
    out.SortByTick();
    auto stream = out.Encode(events.hasEnd() ? events.endTick() : cv.length);
    if (!stream) return false;
    cv.stream = std::move(*stream);
    cv.uses = std::move(uses);
    return true;
}

uint32_t splitBarLength(const CQeStyleTree& tree)
{
    if (tree.elements.empty()) return kDefaultBar;
    const uint8_t signature = tree.elements.front().signature;
    const uint32_t bar = BarLength(signature >> 3, signature & 7);
    return bar ? bar : kDefaultBar;
}

} // namespace

std::vector<CPropPattUnmerge::Part> CPropPattUnmerge::Split(const Pattern& chunk, uint32_t barLength)
{
    std::vector<Part> whole = {{chunk, 0, chunk.length}};
    const CPropEventList events = CPropEventList::Decode(chunk.stream);
    const size_t n = events.size();
    const size_t minEvents = kTargetEvents + kTargetEvents / 2;
    if (events.damaged() || n < minEvents || chunk.length == 0 || events.lastTick() > chunk.length) return whole;

    const size_t target = n > 4 * kTargetEvents ? (40 + n) / 4 : kTargetEvents;
    const uint32_t bar = barLength ? barLength : kDefaultBar;
    const bool longPattern = chunk.length >= bar;
    const size_t lower = longPattern ? target / 2 : target;
    const size_t upper = longPattern ? target + target / 2 : target;

    // The tick where each part but the first starts.
    std::vector<uint32_t> bounds;
    RestState rest;
    size_t inPart = 0;
    uint32_t partStart = 0;
    uint32_t previousTick = 0;
    for (size_t i = 0; i < n;) {
        const uint32_t tick = events[i].tick;
        if (inPart > 0 && n - i > lower) {
            std::optional<uint32_t> end;
            if (inPart >= upper) {
                end = tick;
            } else if (inPart >= lower && tick / bar > previousTick / bar) {
                end = tick / bar * bar;
            }
            if (end && *end > partStart && *end < chunk.length && rest.AtRest(*end)) {
                bounds.push_back(*end);
                partStart = *end;
                inPart = 0;
            }
        }
        for (; i < n && events[i].tick == tick; ++i, ++inPart) rest.Add(events, events[i]);
        previousTick = tick;
    }
    if (bounds.empty()) return whole;

    const uint32_t streamEnd = events.hasEnd() ? events.endTick() : std::max(chunk.length, events.lastTick());
    std::vector<Part> parts;
    size_t next = 0;
    for (size_t j = 0; j <= bounds.size(); ++j) {
        const uint32_t start = j == 0 ? 0 : bounds[j - 1];
        const bool last = j == bounds.size();
        const uint32_t end = last ? chunk.length : bounds[j];
        CPropEventList part;
        for (; next < n && (last || events[next].tick < end); ++next) {
            part.AppendFrom(events, events[next], events[next].tick - start);
        }
        auto stream = part.Encode(last ? streamEnd - start : end - start);
        if (stream) stream = CEncoderProp::ReEncode(*stream); // both switches off, as every re-encoding
        if (!stream) return whole;
        Part out{chunk, start, end};
        out.chunk.length = end - start;
        out.chunk.stream = std::move(*stream);
        parts.push_back(std::move(out));
    }
    return parts;
}

bool CPropPattUnmerge::Run(CQeStyleTree& tree)
{
    const uint32_t bar = splitBarLength(tree);
    SharedChunks shared;
    std::vector<std::vector<PartRun>> runsOf(tree.patterns.size());
    std::vector<bool> split(tree.patterns.size(), false);
    for (size_t c = 0; c < tree.patterns.size(); ++c) {
        std::vector<Part> parts = Split(tree.patterns[c], bar);
        split[c] = parts.size() > 1;
        std::vector<PartRun>& runs = runsOf[c];
        for (Part& part : parts) {
            const size_t index = shared.Place(std::move(part.chunk));
            if (!runs.empty() && runs.back().chunk == index) {
                runs.back().end = part.end;
                ++runs.back().parts;
            } else {
                runs.push_back({index, part.start, part.end});
            }
        }
    }

    std::vector<size_t> newChunks;
    size_t use = 0;
    for (CQeStyleTree::Element& element : tree.elements) {
        for (CQeStyleTree::ChordVar& cv : element.cvs) {
            std::vector<size_t> oldChunks;
            bool anySplit = false;
            for (size_t k = 0; k < cv.uses.size(); ++k, ++use) {
                const size_t value = use < tree.map.size() ? tree.map[use] : 0;
                if (value < 1 || value > tree.patterns.size()) return false;
                oldChunks.push_back(value - 1);
                anySplit = anySplit || split[value - 1];
            }
            if (anySplit) {
                if (!rebuildCv(cv, oldChunks, runsOf, split, newChunks)) return false;
            } else {
                for (size_t c : oldChunks) newChunks.push_back(runsOf[c].front().chunk);
            }
            if (cv.uses.size() > kManyUses) TraceMessage("Warning! Many Cv Patterns %d", int(cv.uses.size()));
        }
    }
    if (newChunks.size() > UINT16_MAX) return false;

    tree.patterns = shared.Take();
    tree.mapChunks = uint16_t(tree.patterns.size());
    tree.map.clear();
    for (size_t c : newChunks) tree.map.push_back(uint16_t(c + 1));
    return true;
}

} // namespace zib::ulvarf
