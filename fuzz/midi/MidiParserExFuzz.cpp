// CMidiParserEx loading arbitrary bytes, then writing back, editing and
// querying what it loaded.
#include "midi/CMidiParserEx.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zib::CMidiParserEx p;
    p.initialValueMode = size % 3 == 0 ? 2 : 0;
    const int rc = p.ParseImage(data, uint32_t(size));
    char text[80];
    p.ReportError(text, sizeof text, rc);
    if (rc != 0) {
        if (p.GetEventCount() != 0) std::abort(); // a failed load leaves nothing
        return 0;
    }

    // Sorted by time, numbered by position, tracks within the tables.
    for (size_t i = 0; i < p.GetEventCount(); ++i) {
        const auto* e = p.GetEvent(i);
        if (e->index != i || e->track >= zib::CMidiParserEx::kMaxTracks || e->data.size() < e->length)
            std::abort();
        if (i && e->time < p.GetEvent(i - 1)->time) std::abort();
    }

    // An unmodified format-1 file writes back its header and track chunks
    // byte for byte (other chunks are not part of the sequence). Files it
    // cannot rebuild (empty track chunks, no tracks) are refused.
    std::vector<uint8_t> out(size);
    const int written = p.WriteToMemory(out.data(), uint32_t(out.size()));
    if (written == 0 && p.GetFormat() == 1 && !p.GetTrackShift()) {
        if (p.GetBytesWritten() > size) std::abort();
        if (p.GetBytesWritten() == size)
            for (size_t i = 0; i < size; ++i)
                if (out[i] != data[i]) std::abort();
    }

    p.GetSequenceEndTick();
    p.GetLastEventIndex();
    for (int t = 0; t < zib::CMidiParserEx::kMaxTracks; ++t)
        p.GetFirstContentTick(t);
    if (p.GetEventCount()) p.PairNoteOff(p.GetEventCount() / 2);
    p.ChangeDivision(p.GetDivision(), uint16_t(p.GetDivision() * 2 % 0x8000 + 1));
    while (p.GetEventCount())
        p.RemoveEvent(p.GetEventCount() - 1);
    return 0;
}
