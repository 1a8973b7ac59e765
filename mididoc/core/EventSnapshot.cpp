#include "mididoc/core/EventSnapshot.h"

#include "midi/MidiEventKind.h"
#include "mididoc/core/MidiDocAllocator.h"

#include <algorithm>

namespace zib {

namespace {

// Channel events keep a six-byte buffer so that an editor can change their
// kind in place.

size_t bufferFor(uint8_t status, size_t length)
{
    return isChannelStatus(status) ? std::max(length, kChannelEventBuffer) : length;
}

// The fields a snapshot and its event share, but the bytes, the edit state
// and the list-visibility word
template <typename From, typename To>
void copyFields(const From& from, To& to)
{
    to.time = from.time;
    to.length = from.length;
    to.status = from.status;
    to.index = from.index;
    to.paired = from.paired;
    to.track = from.track;
    to.played = from.played;
    to.duration = from.duration;
    to.spare = from.spare;
    to.measure = from.measure;
    to.beat = from.beat;
    to.tick = from.tick;
    to.pairId = from.pairId;
    to.flags = from.flags;
    to.chunk = from.chunk;
}

} // namespace

bool EventSnapshot::Take(const CMidiEvent& e, EventSnapshot& out)
{
    const size_t n = std::min<size_t>(e.length, e.data.size());
    if (!MidiDocAllocator::Object(n)) return false;
    out.bytes.assign(e.data.begin(), e.data.begin() + std::ptrdiff_t(n));
    copyFields(e, out);
    out.state = e.state;
    out.listVisible = e.listVisible;
    return true;
}

std::unique_ptr<CMidiEvent> EventSnapshot::MakeEvent() const
{
    auto e = MidiDocAllocator::NewEvent();
    if (!e) return nullptr;
    if (!MidiDocAllocator::Resize(e->data, bufferFor(status, bytes.size()))) return nullptr;
    std::copy(bytes.begin(), bytes.end(), e->data.begin());
    copyFields(*this, *e);
    e->state = state;
    e->listVisible = 0;
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
    copyFields(*this, e);
    e.listVisible = 0;
    return true;
}

} // namespace zib
