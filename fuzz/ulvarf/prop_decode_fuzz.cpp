// Any bytes as a property event stream: decoding stays inside the stream,
// every way of reading it gives the same events (the event list of the
// pattern code included), and what decodes is written again (copy form) and
// decodes to the same events.

#include "ulvarf/CDecProp.h"
#include "ulvarf/CEncoderProp.h"
#include "ulvarf/CEventsPool.h"
#include "ulvarf/CMStream.h"
#include "ulvarf/CPropEventList.h"
#include "ulvarf/EventCell.h"

#include <cstdlib>
#include <span>
#include <vector>

using namespace zib::ulvarf;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> stream(data, size);

    std::vector<PropEvent> events;
    const bool complete = CDecProp::DecodeEvents(stream, events);

    // Event by event, as pool cells: the same events.
    CDecProp decoder(stream);
    size_t i = 0;
    uint32_t delta = 0;
    for (EventCell* cell; (cell = decoder.ExtractEvent(delta)); ++i) {
        if (i >= events.size() || PropEvent::FromCell(*cell, decoder.tick()) != events[i]) std::abort();
        decoder.pool().FreeEvents(cell);
    }
    if (i != events.size() || complete != (decoder.state() == PropDecodeState::Finished)) std::abort();

    // In groups: every event once.
    decoder.Rewind();
    size_t grouped = 0;
    EventCell* group = nullptr;
    while (decoder.NextGroup(group) >= 0) {
        for (EventCell* c = group; c; c = c->next) ++grouped;
        decoder.pool().FreeEvents(group);
    }
    if (grouped != events.size()) std::abort();

    // The event list reads the same events: ticks, kinds and tracks (unknown
    // events are the decoder's null event, continue markers the list's
    // own), up to the same end or the same damage.
    {
        const CPropEventList list = CPropEventList::Decode(stream);
        if (list.damaged() == complete) std::abort();
        size_t k = 0;
        for (const CPropEventList::Event& e : list.events()) {
            if (list.Bytes(e)[0] == PropKind::Continue) continue;
            if (k >= events.size() || events[k].tick != e.tick) std::abort();
            const PropEvent& d = events[k++];
            const bool unknown = (list.Bytes(e)[0] & 0x20) || e.kind == 11 || e.kind > PropKind::VexSound;
            if (unknown ? d != PropEvent::Null(e.tick) : d.kind != e.kind) std::abort();
            if (!unknown && d.kind != PropKind::Meta && d.track != e.track) std::abort();
        }
        // What the decoder has beyond the list is the end marker.
        if (k + (list.hasEnd() && k < events.size() ? 1 : 0) != events.size()) std::abort();
    }

    // Written again and read back. Continue markers can join deltas into a
    // gap of 2^28 ticks or more, which no delta can hold: only then may the
    // writing fail.
    bool longGap = false;
    for (size_t k = 1; k < events.size(); ++k) longGap |= events[k].tick - events[k - 1].tick >= (1u << 28);
    longGap |= !events.empty() && events[0].tick >= (1u << 28);
    const auto copy = CEncoderProp::CopyEvents(events);
    if (!copy) {
        if (!longGap) std::abort();
        return 0;
    }
    std::vector<PropEvent> again;
    if (!CDecProp::DecodeEvents(*copy, again) || again != events) std::abort();

    // Stored with note pairing: fails where decoding does, or where events
    // left out (unmatched note offs) join deltas into a gap of 2^28 ticks.
    CMStream stored;
    CDecProp store(stream);
    const bool storedOk = store.StoreEvents(stored);
    if (storedOk && !complete) std::abort();
    if (!storedOk && complete && (events.empty() || events.back().tick < (1u << 28))) std::abort();
    return 0;
}
