// CMidiFileParser converting arbitrary bytes: the size it announces is the
// size it writes, and what it writes reads back with the same events.
#include "midi/CMidiFileParser.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

// Every event but the ends of track, as (time, bytes), sorted.
class Collector : public zib::CMidiFile {
public:
    std::vector<std::pair<uint32_t, std::vector<uint8_t>>> events;

protected:
    int OnChannelEvent() override
    {
        std::vector<uint8_t> b{m_status, m_eventData[0]};
        if ((m_status & 0xE0) != 0xC0) b.push_back(m_eventData[1]);
        events.emplace_back(m_eventTime, std::move(b));
        return 0;
    }
    int OnSysEx() override { return Raw(); }
    int OnMetaSeqNum() override { return Raw(); }
    int OnMetaTempo() override { return Raw(); }
    int OnMetaSMPTE() override { return Raw(); }
    int OnMetaTime() override { return Raw(); }
    int OnMetaKeySig() override { return Raw(); }
    int OnMetaPort() override { return Raw(); }
    int OnMetaChan() override { return Raw(); }
    int OnMetaText() override { return Raw(); }

private:
    int Raw()
    {
        const auto raw = GetEventRawBytes();
        events.emplace_back(m_eventTime, std::vector<uint8_t>(raw.begin(), raw.end()));
        return 0;
    }
};

std::vector<std::pair<uint32_t, std::vector<uint8_t>>> Events(const uint8_t* data, size_t size)
{
    Collector c;
    if (c.ParseMemory(data, uint32_t(size)) != 0) std::abort();
    std::sort(c.events.begin(), c.events.end());
    return c.events;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const bool maker = size % 2 == 1;
    zib::CMidiFileParser c;
    uint32_t needed = 0;
    if (c.GetConvertedSize(data, uint32_t(size), needed, maker) == 0) {
        std::vector<uint8_t> out(needed);
        if (needed && c.ConvertFormat(data, uint32_t(size), out.data(), needed - 1, maker) == 0) std::abort();
        if (c.ConvertFormat(data, uint32_t(size), out.data(), needed, maker) != 0) std::abort();
        if (c.GetBytesWritten() != needed) std::abort();
        if (Events(out.data(), out.size()) != Events(data, size)) std::abort();
    }

    zib::CMidiFileParser f;
    f.SetTrackFilter(size % 10 < 8 ? uint8_t(size % 10) : 255);
    f.SetPercussionOnDrumChannel(size % 4 == 0);
    if (f.ParseFormat0(data, uint32_t(size), needed) == 0) {
        std::vector<uint8_t> out(needed);
        if (f.ConvertToFormat0(data, uint32_t(size), out.data(), needed) != 0) std::abort();
        if (f.GetBytesWritten() != needed) std::abort();
        if (Events(out.data(), out.size()).size() != f.GetEvents().size()) std::abort();
    }
    f.Reset();
    return 0;
}
