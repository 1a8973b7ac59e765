// The event-list parser over arbitrary bytes: it reads them or fails with a
// code, and what it keeps is a sorted sequence whose VEX Noise events stay on
// tracks 1-16.
#include "midi/MidiEventKind.h"
#include "mididoc/core/CEventListParser.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zib::CEventListParser parser;
    if (parser.ParseImage(data, uint32_t(size)) != 0) {
        if (parser.GetEventCount() != 0) std::abort();
        return 0;
    }
    uint32_t previous = 0;
    for (size_t i = 0; i < parser.GetEventCount(); ++i) {
        const zib::CMidiEvent& e = *parser.GetEvent(i);
        if (e.time < previous) std::abort();
        previous = e.time;
        if ((e.flags & zib::CMidiEvent::kVexNoise) && (e.track < 1 || e.track > 16 || e.length != 11)) std::abort();
        if (e.status == 0xF0 || e.status == 0xF7) std::abort(); // no other system exclusive is kept
    }
    return 0;
}
