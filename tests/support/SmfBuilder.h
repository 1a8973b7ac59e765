#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zib::test {

// Builds Standard MIDI File images in memory for tests: a header, track
// chunks with events placed at absolute ticks, and any other chunk, in the
// order added. Also makes deliberately broken files: a wrong announced track
// count, header or chunk length, a missing end of track, bytes after it,
// an unknown chunk, or a plain truncation of the result.
class SmfTrack {
public:
    // Channel events (channel 0-15)
    SmfTrack& NoteOn(uint32_t tick, int channel, int key, int velocity);
    SmfTrack& NoteOff(uint32_t tick, int channel, int key, int velocity = 0);
    SmfTrack& KeyPressure(uint32_t tick, int channel, int key, int value);
    SmfTrack& Controller(uint32_t tick, int channel, int controller, int value);
    SmfTrack& Program(uint32_t tick, int channel, int program);
    SmfTrack& ChannelPressure(uint32_t tick, int channel, int value);
    SmfTrack& PitchBend(uint32_t tick, int channel, int value14);

    // Meta events
    SmfTrack& Meta(uint32_t tick, int type, const std::vector<uint8_t>& data);
    SmfTrack& Text(uint32_t tick, int type, const std::string& text); // types 0x01-0x09
    SmfTrack& TrackName(uint32_t tick, const std::string& name) { return Text(tick, 0x03, name); }
    SmfTrack& Marker(uint32_t tick, const std::string& text) { return Text(tick, 0x06, text); }
    SmfTrack& Tempo(uint32_t tick, uint32_t microsecondsPerQuarter);
    SmfTrack& TimeSig(uint32_t tick, int numerator, int denominatorPower, int clocks = 24, int n32 = 8);
    SmfTrack& KeySig(uint32_t tick, int sharps, int minor);
    SmfTrack& Port(uint32_t tick, int port);
    SmfTrack& SequenceNumber(uint32_t tick, int number);

    // System exclusive: 0xF0 (or 0xF7), length, data
    SmfTrack& SysEx(uint32_t tick, const std::vector<uint8_t>& data, uint8_t status = 0xF0);

    // Anything: the delta, then these bytes verbatim (running status,
    // broken events ...)
    SmfTrack& Raw(uint32_t tick, const std::vector<uint8_t>& bytes);

    // End of track: by default one at the last event's tick (or at `EndAt`)
    SmfTrack& EndAt(uint32_t tick);
    SmfTrack& NoEndOfTrack();
    // Channel events that repeat the previous status leave it out
    SmfTrack& UseRunningStatus(bool on = true);
    // Bytes after the end-of-track event, inside the chunk
    SmfTrack& TrailingBytes(const std::vector<uint8_t>& bytes);
    // Announce another chunk length than the bytes hold
    SmfTrack& LengthOverride(uint32_t length);

    // The chunk's bytes without its header
    std::vector<uint8_t> Bytes() const;
    uint32_t AnnouncedLength() const;

private:
    struct Event {
        uint32_t tick;
        std::vector<uint8_t> bytes;
        bool channel;
    };
    SmfTrack& Add(uint32_t tick, std::vector<uint8_t> bytes, bool channel = false);

    std::vector<Event> m_events;
    std::optional<uint32_t> m_endTick;
    bool m_endOfTrack = true;
    bool m_runningStatus = false;
    std::vector<uint8_t> m_trailing;
    std::optional<uint32_t> m_lengthOverride;
};

class SmfBuilder {
public:
    explicit SmfBuilder(uint16_t format = 1, uint16_t division = 96);

    // A new track chunk at the end; the reference stays valid while the builder lives
    SmfTrack& AddTrack();
    // Any other chunk (4-character id) at the end, e.g. "CASM"
    SmfBuilder& AddChunk(const std::string& id, const std::vector<uint8_t>& payload,
                         std::optional<uint32_t> announcedLength = std::nullopt);

    // Header fields
    SmfBuilder& Format(uint16_t format);
    SmfBuilder& Division(uint16_t division);
    SmfBuilder& AnnouncedTracks(uint16_t tracks); // default: the track chunks added
    SmfBuilder& HeaderLength(uint32_t length);    // default 6; extra bytes are zeros
    SmfBuilder& HeaderId(const std::string& id);  // default "MThd"

    std::vector<uint8_t> Build() const;

    // The image cut to its first `size` bytes
    static std::vector<uint8_t> Truncated(std::vector<uint8_t> image, size_t size);

private:
    struct Chunk {
        std::string id;
        std::vector<uint8_t> payload;
        std::optional<uint32_t> announced;
        int track = -1; // index into m_tracks, or -1
    };
    uint16_t m_format;
    uint16_t m_division;
    std::optional<uint16_t> m_announcedTracks;
    uint32_t m_headerLength = 6;
    std::string m_headerId = "MThd";
    std::vector<std::unique_ptr<SmfTrack>> m_tracks;
    std::vector<Chunk> m_chunks;
};

// Encodes a MIDI variable-length number (for building bytes by hand)
std::vector<uint8_t> VarLen(uint32_t value);

} // namespace zib::test
