// CMidiFile and CMidiFileEx reading arbitrary bytes: callbacks that read and
// skip event data themselves, every option flag, and the measure map.
#include "midi/CMidiFileEx.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

class Reader : public zib::CMidiFileEx {
protected:
    int OnSysEx() override { return ReadSome(); }
    int OnMetaText() override { return ReadSome(); }
    int OnUnknownChunk() override { return ReadSome(); }
    int OnTrackStart() override
    {
        // Every third track is copied raw.
        if (GetTrackIndex() % 3 == 2) {
            m_raw.assign(GetChunkBytes(), 0);
            RequestRawRead(m_raw.data(), uint32_t(m_raw.size()));
        }
        return 0;
    }
    int OnChannelEvent() override
    {
        uint32_t m, b, t;
        return m_eventTime % 7 == 0 ? TickToMbt(m_eventTime, m, b, t) : 0;
    }

private:
    int ReadSome()
    {
        uint8_t buffer[8];
        const uint32_t n = GetEventBytes() < 8 ? GetEventBytes() : 8;
        if (int rc = ReadBytes(buffer, n)) return rc;
        if (n && (buffer[0] & 1)) return Skip(-int64_t(n));
        return 0;
    }
    std::vector<uint8_t> m_raw;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const uint16_t flags[] = {0, zib::CMidiFile::kDenominatorAsNote, zib::CMidiFile::kDeltaTimes};
    for (uint16_t f : flags) {
        Reader r;
        r.SetFlags(f);
        const int rc = r.ParseMemory(data, uint32_t(size));
        char text[80];
        r.ReportError(text, sizeof text, rc);
        if (r.GetTimeSigCount() > zib::CMidiFileEx::kMaxMeasures) std::abort();
    }
    return 0;
}
