#include "mididoc/core/MarkedEventShift.h"

#include "midi/CMidiParserEx.h"
#include "mididoc/core/CUndoManager.h"
#include "mididoc/core/EventSnapshot.h"
#include "mididoc/core/SequenceEdits.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <memory>
#include <vector>

namespace zib {

namespace {

// Puts the array back in time order after the `moved` events marked `mark`
// moved by one distance, events of equal time in their order before the move
// (their index fields). The marked events and the others each keep their
// order, so merging the two runs gives what a stable sort by time would, in
// one pass: the others close up in place and the marked ones, held apart,
// are merged in from the end.
void SortShiftedEvents(CMidiParserEx& sequence, uint16_t mark, size_t movedCount)
{
    auto events = sequence.ReleaseEvents();
    std::vector<std::unique_ptr<CMidiEvent>> moved;
    moved.reserve(movedCount);
    bool inOrder = true;
    size_t stayed = 0;
    for (size_t i = 0; i < events.size(); ++i) {
        if (i + CMidiParserEx::kPrefetchAhead < events.size())
            __builtin_prefetch(events[i + CMidiParserEx::kPrefetchAhead].get());
        auto& e = events[i];
        if (e->state == mark) {
            if (!moved.empty() && moved.back()->time > e->time) inOrder = false;
            moved.push_back(std::move(e));
        } else {
            if (stayed > 0 && events[stayed - 1]->time > e->time) inOrder = false;
            events[stayed++] = std::move(e);
        }
    }
    auto earlier = [](const std::unique_ptr<CMidiEvent>& a, const std::unique_ptr<CMidiEvent>& b) {
        return a->time < b->time || (a->time == b->time && a->index < b->index);
    };
    if (inOrder) {
        // (time, index) orders every pair of events, so the merge from the
        // end is the stable one.
        size_t write = events.size(), from = stayed, next = moved.size();
        while (next > 0) {
            if (from > 0 && earlier(moved[next - 1], events[from - 1])) {
                events[--write] = std::move(events[--from]);
            } else {
                events[--write] = std::move(moved[--next]);
            }
        }
    } else {
        // An array that was not in time order before: sorted whole
        std::move(moved.begin(), moved.end(), events.begin() + std::ptrdiff_t(stayed));
        std::stable_sort(events.begin(), events.end(), earlier);
    }
    sequence.AdoptEvents(std::move(events));
}

// What the move changes in a marked event, as it was before
struct OldPlace {
    uint32_t index = 0;
    uint32_t time = 0;
    uint32_t measure = 0;
    uint32_t beat = 0;
    uint32_t tick = 0;
};

} // namespace

bool ShiftMarkedEvents(CMidiParserEx& sequence, CUndoManager& undo, uint16_t mark, int64_t distance)
{
    uint32_t earliest = std::numeric_limits<uint32_t>::max(), latest = 0;
    size_t marked = 0;
    for (size_t i = 0; i < sequence.GetEventCount(); ++i) {
        sequence.PrefetchAhead(i);
        const CMidiEvent& e = *sequence.GetEvent(i);
        if (e.state == mark) {
            earliest = std::min(earliest, e.time);
            latest = std::max(latest, e.time);
            ++marked;
        }
    }
    distance = marked == 0 ? 0
                           : std::clamp<int64_t>(distance, -int64_t(earliest),
                                                 int64_t(std::numeric_limits<uint32_t>::max() - latest));
    if (distance == 0) {
        for (const auto& ep : sequence.GetEvents())
            if (ep->state == mark) ep->state = 0;
        return false;
    }

    // The marked events' places before the move, by their old position; the
    // rest of each snapshot is the event as it is after the move.
    const size_t n = sequence.GetEventCount();
    std::vector<int32_t> slot(n, -1);
    std::vector<OldPlace> before;
    before.reserve(marked);
    for (size_t i = 0; i < n; ++i) {
        sequence.PrefetchAhead(i);
        CMidiEvent& e = *sequence.GetEvent(i);
        if (e.state == mark) {
            slot[i] = int32_t(before.size());
            before.push_back({e.index, e.time, e.measure, e.beat, e.tick});
            e.time = uint32_t(int64_t(e.time) + distance);
            SetEventPosition(sequence, e);
            sequence.SetTrackModified(e.track, 1);
        }
        e.index = uint32_t(i);
    }
    SortShiftedEvents(sequence, mark, marked);
    uint32_t groupStart = 1;
    bool recording = true;
    auto record = [&](size_t position) {
        CMidiEvent& e = *sequence.GetEvent(position);
        if (e.state != mark) return;
        e.state = 0;
        if (!recording) return;
        EventSnapshot s;
        if (!EventSnapshot::Take(e, s)) {
            // Without its snapshots the move stands without a record.
            undo.ClearAll();
            recording = false;
            return;
        }
        const OldPlace& old = before[size_t(slot[e.index])];
        s.index = old.index;
        s.time = old.time;
        s.measure = old.measure;
        s.beat = old.beat;
        s.tick = old.tick;
        undo.RecordSnapshot(UndoTargetEvent, std::move(s), UndoModify, groupStart, int32_t(e.index),
                            int32_t(position));
        groupStart = 0;
    };
    if (distance > 0) {
        for (size_t i = n; i-- > 0;) {
            if (i >= CMidiParserEx::kPrefetchAhead)
                __builtin_prefetch(sequence.GetEvent(i - CMidiParserEx::kPrefetchAhead));
            record(i);
        }
    } else {
        for (size_t i = 0; i < n; ++i) {
            sequence.PrefetchAhead(i);
            record(i);
        }
    }
    sequence.Renumber(0);
    return true;
}

} // namespace zib
