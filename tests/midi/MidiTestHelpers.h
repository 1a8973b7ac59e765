#pragma once

#include "midi/CMidiFile.h"

#include <gtest/gtest.h>

#include <compare>
#include <cstdint>
#include <string>
#include <vector>

namespace zib::test {

// One event as a reader saw it: its absolute track time and its bytes
// (status and data of a channel event; a sysex or meta event as in the file).
struct RecordedEvent {
    uint32_t time = 0;
    int track = 0;
    std::vector<uint8_t> bytes;
    auto operator<=>(const RecordedEvent&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const RecordedEvent& e)
{
    os << "{t=" << e.time << " track=" << e.track << " bytes=";
    for (uint8_t b : e.bytes)
        os << std::hex << int(b) << ' ';
    return os << std::dec << "}";
}

// Records every callback and event of a parse.
class EventRecorder : public CMidiFile {
public:
    std::vector<RecordedEvent> events;   // all events but end of track
    std::vector<uint32_t> trackEnds;     // time of every end-of-track event
    std::vector<std::string> calls;      // callback names in order
    std::vector<uint32_t> unknownChunks; // ids of unknown chunks

    using CMidiFile::m_eventData;
    using CMidiFile::m_eventTempo;
    using CMidiFile::m_status;

protected:
    int OnUnknownChunk() override
    {
        calls.push_back("chunk");
        unknownChunks.push_back(GetChunkId());
        return 0;
    }
    int OnTrackStart() override
    {
        calls.push_back("track");
        return 0;
    }
    int OnHeader() override
    {
        calls.push_back("header");
        return 0;
    }
    int OnChannelEvent() override
    {
        calls.push_back("channel");
        std::vector<uint8_t> b{m_status, m_eventData[0]};
        if ((m_status & 0xE0) != 0xC0) b.push_back(m_eventData[1]);
        events.push_back({m_eventTime, GetTrackIndex(), b});
        return 0;
    }
    int OnSysEx() override { return Raw("sysex"); }
    int OnMetaSeqNum() override { return Raw("seqnum"); }
    int OnMetaTempo() override { return Raw("tempo"); }
    int OnMetaSMPTE() override { return Raw("smpte"); }
    int OnMetaTime() override { return Raw("time"); }
    int OnMetaKeySig() override { return Raw("keysig"); }
    int OnMetaPort() override { return Raw("port"); }
    int OnMetaChan() override { return Raw("chan"); }
    int OnMetaText() override { return Raw("text"); }
    int OnMetaEndOfTrack() override
    {
        calls.push_back("end");
        trackEnds.push_back(m_eventTime);
        return 0;
    }

private:
    int Raw(const char* name)
    {
        calls.push_back(name);
        const auto raw = GetEventRawBytes();
        events.push_back({m_eventTime, GetTrackIndex(), std::vector<uint8_t>(raw.begin(), raw.end())});
        return 0;
    }
};

// The events of an image, sorted by time and bytes (tracks ignored), for
// comparing files that hold the same events in another layout.
inline std::vector<RecordedEvent> sortedEvents(const std::vector<uint8_t>& image,
                                               bool dropSequenceNumbers = true)
{
    EventRecorder r;
    EXPECT_EQ(r.ParseMemory(image.data(), uint32_t(image.size())), 0);
    std::vector<RecordedEvent> out;
    for (auto e : r.events) {
        if (dropSequenceNumbers && e.bytes.size() >= 2 && e.bytes[0] == 0xFF && e.bytes[1] == 0x00) continue;
        e.track = 0;
        out.push_back(e);
    }
    std::sort(out.begin(), out.end());
    return out;
}

inline std::string errorText(CMidiFile& f, int code)
{
    char buffer[128];
    const int n = f.ReportError(buffer, sizeof buffer, code);
    return n ? std::string(buffer) : std::string();
}

} // namespace zib::test
