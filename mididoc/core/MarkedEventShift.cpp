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

// Puts the array back in time order after the events marked `mark` moved by
// one distance, events of equal time in their order before the move (their
// index fields). The marked events and the others each keep their order, so
// merging the two runs gives what a stable sort by time would, in one pass.
void SortShiftedEvents(CMidiParserEx& sequence, uint16_t mark)
{
    auto events = sequence.ReleaseEvents();
    std::vector<std::unique_ptr<CMidiEvent>> moved, stayed;
    moved.reserve(events.size());
    stayed.reserve(events.size());
    bool inOrder = true;
    for (auto& e : events) {
        auto& run = e->state == mark ? moved : stayed;
        if (!run.empty() && run.back()->time > e->time) inOrder = false;
        run.push_back(std::move(e));
    }
    auto earlier = [](const std::unique_ptr<CMidiEvent>& a, const std::unique_ptr<CMidiEvent>& b) {
        return a->time < b->time || (a->time == b->time && a->index < b->index);
    };
    if (inOrder) {
        std::merge(std::make_move_iterator(stayed.begin()), std::make_move_iterator(stayed.end()),
                   std::make_move_iterator(moved.begin()), std::make_move_iterator(moved.end()), events.begin(),
                   earlier);
    } else {
        // An array that was not in time order before: sorted whole
        std::move(stayed.begin(), stayed.end(), events.begin());
        std::move(moved.begin(), moved.end(), events.begin() + std::ptrdiff_t(stayed.size()));
        std::stable_sort(events.begin(), events.end(), earlier);
    }
    sequence.AdoptEvents(std::move(events));
}

} // namespace

bool ShiftMarkedEvents(CMidiParserEx& sequence, CUndoManager& undo, uint16_t mark, int64_t distance)
{
    uint32_t earliest = std::numeric_limits<uint32_t>::max(), latest = 0;
    size_t marked = 0;
    for (const auto& ep : sequence.GetEvents())
        if (ep->state == mark) {
            earliest = std::min(earliest, ep->time);
            latest = std::max(latest, ep->time);
            ++marked;
        }
    distance = marked == 0 ? 0
                           : std::clamp<int64_t>(distance, -int64_t(earliest),
                                                 int64_t(std::numeric_limits<uint32_t>::max() - latest));
    if (distance == 0) {
        for (const auto& ep : sequence.GetEvents())
            if (ep->state == mark) ep->state = 0;
        return false;
    }

    // The events before the move, by their old position
    const size_t n = sequence.GetEventCount();
    std::vector<int32_t> slot(n, -1);
    std::vector<EventSnapshot> before;
    before.reserve(marked);
    for (size_t i = 0; i < n; ++i) {
        const CMidiEvent& e = *sequence.GetEvent(i);
        if (e.state != mark) continue;
        EventSnapshot s;
        if (!EventSnapshot::Take(e, s)) {
            // Without its snapshots the move stands without a record.
            undo.ClearAll();
            before.clear();
            break;
        }
        s.state = 0;
        slot[i] = int32_t(before.size());
        before.push_back(std::move(s));
    }
    for (size_t i = 0; i < n; ++i) {
        CMidiEvent& e = *sequence.GetEvent(i);
        e.index = uint32_t(i);
        if (e.state != mark) continue;
        e.time = uint32_t(int64_t(e.time) + distance);
        SetEventPosition(sequence, e);
        sequence.SetTrackModified(e.track, 1);
    }
    SortShiftedEvents(sequence, mark);
    uint32_t groupStart = 1;
    auto record = [&](size_t position) {
        CMidiEvent& e = *sequence.GetEvent(position);
        if (e.state != mark) return;
        if (!before.empty() && slot[e.index] >= 0) {
            undo.RecordSnapshot(UndoTargetEvent, before[size_t(slot[e.index])], UndoModify, groupStart,
                                int32_t(e.index), int32_t(position));
            groupStart = 0;
        }
        e.state = 0;
    };
    if (distance > 0) {
        for (size_t i = n; i-- > 0;)
            record(i);
    } else {
        for (size_t i = 0; i < n; ++i)
            record(i);
    }
    sequence.Renumber(0);
    return true;
}

} // namespace zib
