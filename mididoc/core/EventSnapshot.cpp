#include "mididoc/core/EventSnapshot.h"

#include "midi/MidiEventKind.h"
#include "mididoc/core/MidiDocAllocator.h"

#include <algorithm>

namespace zib {

namespace {

// Channel events keep a six-byte buffer so that an editor can change their
// kind in place.
constexpr size_t kChannelBuffer = 6;

size_t bufferFor(uint8_t status, size_t length)
{
    return isChannelStatus(status) ? std::max(length, kChannelBuffer) : length;
}

} // namespace

bool EventSnapshot::Take(const CMidiEvent& e, EventSnapshot& out)
{
    const size_t n = std::min<size_t>(e.length, e.data.size());
    if (!MidiDocAllocator::Object(n)) return false;
    out.bytes.assign(e.data.begin(), e.data.begin() + std::ptrdiff_t(n));
    out.time = e.time;
    out.length = e.length;
    out.state = e.state;
    out.status = e.status;
    out.index = e.index;
    out.paired = e.paired;
    out.track = e.track;
    out.listVisible = e.listVisible;
    out.played = e.played;
    out.duration = e.duration;
    out.spare = e.spare;
    out.measure = e.measure;
    out.beat = e.beat;
    out.tick = e.tick;
    out.pairId = e.pairId;
    out.flags = e.flags;
    return true;
}

std::unique_ptr<CMidiEvent> EventSnapshot::MakeEvent() const
{
    auto e = MidiDocAllocator::NewEvent();
    if (!e) return nullptr;
    if (!MidiDocAllocator::Resize(e->data, bufferFor(status, bytes.size()))) return nullptr;
    std::copy(bytes.begin(), bytes.end(), e->data.begin());
    e->time = time;
    e->length = length;
    e->state = state;
    e->status = status;
    e->index = index;
    e->paired = paired;
    e->track = track;
    e->listVisible = 0;
    e->played = played;
    e->duration = duration;
    e->spare = spare;
    e->measure = measure;
    e->beat = beat;
    e->tick = tick;
    e->pairId = pairId;
    e->flags = flags;
    return e;
}

bool EventSnapshot::RestoreInto(CMidiEvent& e) const
{
    if (e.data.size() < bytes.size()) {
        std::vector<uint8_t> grown;
        if (!MidiDocAllocator::Resize(grown, bufferFor(status, bytes.size()))) return false;
        e.data.swap(grown);
    }
    std::copy(bytes.begin(), bytes.end(), e.data.begin());
    e.time = time;
    e.length = length;
    e.status = status;
    e.index = index;
    e.paired = paired;
    e.track = track;
    e.duration = duration;
    e.played = played;
    e.spare = spare;
    e.measure = measure;
    e.beat = beat;
    e.tick = tick;
    e.pairId = pairId;
    e.flags = flags;
    e.listVisible = 0;
    return true;
}

} // namespace zib
