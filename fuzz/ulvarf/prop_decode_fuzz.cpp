// Any bytes as a property event stream: decoding stays inside the stream,
// every way of reading it gives the same events, and what decodes is written
// again (copy form) and decodes to the same events.

#include "ulvarf/CDecProp.h"
#include "ulvarf/CEncoderProp.h"
#include "ulvarf/CEventsPool.h"
#include "ulvarf/CMStream.h"
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
