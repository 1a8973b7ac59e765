#include "tests/support/SmfBuilder.h"

#include <algorithm>

namespace zib::test {

std::vector<uint8_t> VarLen(uint32_t value)
{
    std::vector<uint8_t> out{uint8_t(value & 0x7F)};
    while (value >>= 7)
        out.insert(out.begin(), uint8_t(0x80 | (value & 0x7F)));
    return out;
}

namespace {

void append(std::vector<uint8_t>& out, const std::vector<uint8_t>& bytes)
{
    out.insert(out.end(), bytes.begin(), bytes.end());
}

void appendU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 3; i >= 0; --i)
        out.push_back(uint8_t(v >> (8 * i)));
}

void appendId(std::vector<uint8_t>& out, const std::string& id)
{
    for (size_t i = 0; i < 4; ++i)
        out.push_back(i < id.size() ? uint8_t(id[i]) : uint8_t(' '));
}

uint8_t channelStatus(int kind, int channel)
{
    return uint8_t(kind | (channel & 0x0F));
}

} // namespace

// ---- SmfTrack --------------------------------------------------------------

SmfTrack& SmfTrack::Add(uint32_t tick, std::vector<uint8_t> bytes, bool channel)
{
    m_events.push_back(Event{tick, std::move(bytes), channel});
    return *this;
}

SmfTrack& SmfTrack::NoteOn(uint32_t tick, int channel, int key, int velocity)
{
    return Add(tick, {channelStatus(0x90, channel), uint8_t(key), uint8_t(velocity)}, true);
}

SmfTrack& SmfTrack::NoteOff(uint32_t tick, int channel, int key, int velocity)
{
    return Add(tick, {channelStatus(0x80, channel), uint8_t(key), uint8_t(velocity)}, true);
}

SmfTrack& SmfTrack::KeyPressure(uint32_t tick, int channel, int key, int value)
{
    return Add(tick, {channelStatus(0xA0, channel), uint8_t(key), uint8_t(value)}, true);
}

SmfTrack& SmfTrack::Controller(uint32_t tick, int channel, int controller, int value)
{
    return Add(tick, {channelStatus(0xB0, channel), uint8_t(controller), uint8_t(value)}, true);
}

SmfTrack& SmfTrack::Program(uint32_t tick, int channel, int program)
{
    return Add(tick, {channelStatus(0xC0, channel), uint8_t(program)}, true);
}

SmfTrack& SmfTrack::ChannelPressure(uint32_t tick, int channel, int value)
{
    return Add(tick, {channelStatus(0xD0, channel), uint8_t(value)}, true);
}

SmfTrack& SmfTrack::PitchBend(uint32_t tick, int channel, int value14)
{
    return Add(tick, {channelStatus(0xE0, channel), uint8_t(value14 & 0x7F), uint8_t((value14 >> 7) & 0x7F)},
               true);
}

SmfTrack& SmfTrack::Meta(uint32_t tick, int type, const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> bytes{0xFF, uint8_t(type)};
    append(bytes, VarLen(uint32_t(data.size())));
    append(bytes, data);
    return Add(tick, std::move(bytes));
}

SmfTrack& SmfTrack::Text(uint32_t tick, int type, const std::string& text)
{
    return Meta(tick, type, std::vector<uint8_t>(text.begin(), text.end()));
}

SmfTrack& SmfTrack::Tempo(uint32_t tick, uint32_t us)
{
    return Meta(tick, 0x51, {uint8_t(us >> 16), uint8_t(us >> 8), uint8_t(us)});
}

SmfTrack& SmfTrack::TimeSig(uint32_t tick, int numerator, int denominatorPower, int clocks, int n32)
{
    return Meta(tick, 0x58, {uint8_t(numerator), uint8_t(denominatorPower), uint8_t(clocks), uint8_t(n32)});
}

SmfTrack& SmfTrack::KeySig(uint32_t tick, int sharps, int minor)
{
    return Meta(tick, 0x59, {uint8_t(int8_t(sharps)), uint8_t(minor)});
}

SmfTrack& SmfTrack::Port(uint32_t tick, int port)
{
    return Meta(tick, 0x21, {uint8_t(port)});
}

SmfTrack& SmfTrack::SequenceNumber(uint32_t tick, int number)
{
    return Meta(tick, 0x00, {uint8_t(number >> 8), uint8_t(number)});
}

SmfTrack& SmfTrack::SysEx(uint32_t tick, const std::vector<uint8_t>& data, uint8_t status)
{
    std::vector<uint8_t> bytes{status};
    append(bytes, VarLen(uint32_t(data.size())));
    append(bytes, data);
    return Add(tick, std::move(bytes));
}

SmfTrack& SmfTrack::Raw(uint32_t tick, const std::vector<uint8_t>& bytes)
{
    return Add(tick, bytes);
}

SmfTrack& SmfTrack::EndAt(uint32_t tick)
{
    m_endTick = tick;
    m_endOfTrack = true;
    return *this;
}

SmfTrack& SmfTrack::NoEndOfTrack()
{
    m_endOfTrack = false;
    return *this;
}

SmfTrack& SmfTrack::UseRunningStatus(bool on)
{
    m_runningStatus = on;
    return *this;
}

SmfTrack& SmfTrack::TrailingBytes(const std::vector<uint8_t>& bytes)
{
    m_trailing = bytes;
    return *this;
}

SmfTrack& SmfTrack::LengthOverride(uint32_t length)
{
    m_lengthOverride = length;
    return *this;
}

std::vector<uint8_t> SmfTrack::Bytes() const
{
    // Events in tick order; equal ticks keep the order they were added in.
    std::vector<const Event*> order;
    for (const auto& e : m_events)
        order.push_back(&e);
    std::stable_sort(order.begin(), order.end(),
                     [](const Event* a, const Event* b) { return a->tick < b->tick; });

    std::vector<uint8_t> out;
    uint32_t now = 0;
    uint8_t running = 0;
    for (const Event* e : order) {
        append(out, VarLen(e->tick - now));
        now = e->tick;
        if (e->channel && m_runningStatus && e->bytes[0] == running) {
            out.insert(out.end(), e->bytes.begin() + 1, e->bytes.end());
        } else {
            append(out, e->bytes);
        }
        running = e->channel ? e->bytes[0] : 0;
    }
    if (m_endOfTrack) {
        const uint32_t end = std::max(now, m_endTick.value_or(now));
        append(out, VarLen(end - now));
        append(out, {0xFF, 0x2F, 0x00});
    }
    append(out, m_trailing);
    return out;
}

uint32_t SmfTrack::AnnouncedLength() const
{
    return m_lengthOverride.value_or(uint32_t(Bytes().size()));
}

// ---- SmfBuilder ------------------------------------------------------------

SmfBuilder::SmfBuilder(uint16_t format, uint16_t division) : m_format(format), m_division(division) {}

SmfTrack& SmfBuilder::AddTrack()
{
    m_tracks.push_back(std::make_unique<SmfTrack>());
    m_chunks.push_back(Chunk{"MTrk", {}, std::nullopt, int(m_tracks.size() - 1)});
    return *m_tracks.back();
}

SmfBuilder& SmfBuilder::AddChunk(const std::string& id, const std::vector<uint8_t>& payload,
                                 std::optional<uint32_t> announcedLength)
{
    m_chunks.push_back(Chunk{id, payload, announcedLength, -1});
    return *this;
}

SmfBuilder& SmfBuilder::Format(uint16_t format)
{
    m_format = format;
    return *this;
}

SmfBuilder& SmfBuilder::Division(uint16_t division)
{
    m_division = division;
    return *this;
}

SmfBuilder& SmfBuilder::AnnouncedTracks(uint16_t tracks)
{
    m_announcedTracks = tracks;
    return *this;
}

SmfBuilder& SmfBuilder::HeaderLength(uint32_t length)
{
    m_headerLength = length;
    return *this;
}

SmfBuilder& SmfBuilder::HeaderId(const std::string& id)
{
    m_headerId = id;
    return *this;
}

std::vector<uint8_t> SmfBuilder::Build() const
{
    std::vector<uint8_t> out;
    appendId(out, m_headerId);
    appendU32(out, m_headerLength);
    const uint16_t tracks = m_announcedTracks.value_or(uint16_t(m_tracks.size()));
    std::vector<uint8_t> header{uint8_t(m_format >> 8), uint8_t(m_format),        uint8_t(tracks >> 8),
                                uint8_t(tracks),        uint8_t(m_division >> 8), uint8_t(m_division)};
    header.resize(m_headerLength, 0);
    append(out, header);
    for (const auto& c : m_chunks) {
        appendId(out, c.id);
        if (c.track >= 0) {
            const SmfTrack& t = *m_tracks[size_t(c.track)];
            appendU32(out, t.AnnouncedLength());
            append(out, t.Bytes());
        } else {
            appendU32(out, c.announced.value_or(uint32_t(c.payload.size())));
            append(out, c.payload);
        }
    }
    return out;
}

std::vector<uint8_t> SmfBuilder::Truncated(std::vector<uint8_t> image, size_t size)
{
    if (size < image.size()) image.resize(size);
    return image;
}

} // namespace zib::test
