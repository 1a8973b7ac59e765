#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "midi/CMidiFile.h"

namespace zib::test {

// Reads a MIDI image through CMidiFile and lists every event as one line
// "track tick description", for comparing exports with expected listings.
class SmfListing : public CMidiFile {
public:
    struct Event {
        int track;
        uint32_t tick;
        uint8_t status; // channel status, 0xFF meta
        uint8_t type;   // meta type
        std::vector<uint8_t> data;
        std::string text() const { return std::string(data.begin(), data.end()); }
    };

    int Read(const std::vector<uint8_t>& image) { return ParseMemory(image.data(), uint32_t(image.size())); }

    // With `countOnly`, only the channel events per track and the track ends are kept.
    bool countOnly = false;
    std::vector<Event> events;
    std::vector<std::string> lines;
    std::vector<uint32_t> trackEnds;
    std::vector<size_t> channelCounts = std::vector<size_t>(16, 0);

    // Texts of the meta text events of one track, in order
    std::vector<std::string> Texts(int track, uint8_t type = 0x01) const
    {
        std::vector<std::string> out;
        for (const Event& e : events)
            if (e.track == track && e.status == 0xFF && e.type == type) out.push_back(e.text());
        return out;
    }
    // Channel events of one track as "tick status d1 d2"
    std::vector<std::string> ChannelEvents(int track) const
    {
        std::vector<std::string> out;
        for (const std::string& line : lines)
            if (line.rfind(std::to_string(track) + " ", 0) == 0 && line.find(" ch ") != std::string::npos) out.push_back(line);
        return out;
    }

protected:
    int OnChannelEvent() override
    {
        if (GetTrackIndex() >= 0 && GetTrackIndex() < 16) ++channelCounts[size_t(GetTrackIndex())];
        if (countOnly) return 0;
        bool one = (m_status & 0xE0) == 0xC0;
        Add(m_status, 0, one ? std::vector<uint8_t>{m_eventData[0]} : std::vector<uint8_t>{m_eventData[0], m_eventData[1]});
        char text[64];
        if (one) std::snprintf(text, sizeof text, "ch %02X %d", m_status, m_eventData[0]);
        else std::snprintf(text, sizeof text, "ch %02X %d %d", m_status, m_eventData[0], m_eventData[1]);
        Line(text);
        return 0;
    }
    int OnMetaTempo() override
    {
        Add(0xFF, 0x51, {});
        Line("tempo " + std::to_string(m_eventTempo));
        return 0;
    }
    int OnMetaTime() override
    {
        Add(0xFF, 0x58, {m_eventData[1], m_eventData[2], m_eventData[3], m_eventData[4]});
        char text[64];
        std::snprintf(text, sizeof text, "timesig %d/2^%d %d %d", m_eventData[1], m_eventData[2], m_eventData[3], m_eventData[4]);
        Line(text);
        return 0;
    }
    int OnMetaText() override
    {
        std::vector<uint8_t> data(GetEventBytes());
        if (!data.empty() && ReadBytes(data.data(), uint32_t(data.size())) != 0) return 99;
        uint8_t type = m_status;
        Add(0xFF, type, data);
        Line("meta" + std::to_string(type) + " \"" + std::string(data.begin(), data.end()) + "\"");
        return 0;
    }
    int OnMetaEndOfTrack() override
    {
        trackEnds.push_back(m_trackTime);
        Line("end");
        return 0;
    }

private:
    void Add(uint8_t status, uint8_t type, std::vector<uint8_t> data)
    {
        if (countOnly) return;
        events.push_back(Event{GetTrackIndex(), m_trackTime, status, type, std::move(data)});
    }
    void Line(const std::string& what)
    {
        if (!countOnly) lines.push_back(std::to_string(GetTrackIndex()) + " " + std::to_string(m_trackTime) + " " + what);
    }
};

} // namespace zib::test
