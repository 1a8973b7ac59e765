// CStyleMidiReader collecting arbitrary chord-variation files into one list.
#include "midi/CStyleMidiReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zib::CStyleMidiReader r;
    r.ResetElements();
    r.playPercussionOnDrumChannel = size % 2 == 0;
    // The same input read as two chord variations of one element.
    for (size_t cv = 0; cv < 2; ++cv) {
        r.elements[1].variations[cv].firstEvent = uint32_t(r.GetEventCount());
        const int rc = r.ReadImage(data, uint32_t(size));
        char text[80];
        r.ReportError(text, sizeof text, rc);
        if (rc != 0) {
            if (r.GetEventCount() != 0) std::abort();
            break;
        }
        r.PairNotes(1, cv);
    }
    r.Clear();
    return 0;
}
