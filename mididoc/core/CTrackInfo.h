#pragma once

#include <cstdint>
#include <string>

namespace zib {

// One track record of a MIDI document: record i describes sequence track
// i + 1 (track 0, the master track, has a record of its own). The track list
// and the bar view show these records; the player reads play, solo, channel,
// port, bank, program, volume and pan; the recorder reads record and
// recordChannel. A new record has every field 0 and an empty name.
class CTrackInfo {
public:
    // Record-input codes in the low 16 bits of recordChannel
    static constexpr uint32_t kRecordNone = 0;
    static constexpr uint32_t kRecordOmni = 17;     // every channel
    static constexpr uint32_t kRecordChannels = 18; // the channels of the high 16-bit mask (bit n = channel n + 1)

    CTrackInfo() = default;
    virtual ~CTrackInfo();
    CTrackInfo(const CTrackInfo&) = default;
    CTrackInfo& operator=(const CTrackInfo&) = default;
    bool operator==(const CTrackInfo&) const = default;

    // Identity
    std::string name;   // at most 16 characters (Windows-1252 bytes)
    uint32_t index = 0; // position in the document's track array, 0..63
    uint32_t reserved = 0;

    // Byte length of the track's chunk; the bytes stay in the sequence's table of the track
    uint32_t rawLength = 0;

    // Mix and record switches
    uint8_t hasEvents = 0; // 1 = the track is in use
    uint8_t play = 0;      // 1 = the track sounds, 0 = muted
    uint8_t solo = 0;      // 1 = soloed
    uint8_t record = 0;    // 1 = armed for recording
    uint32_t recordChannel = 0;

    // First values of the track
    uint8_t channel = 0; // 0..15; 255 when the track has no channel events
    uint8_t port = 0;    // MIDI port of the first port meta event
    uint16_t bank = 0;   // high byte bank MSB (255: none), low byte bank LSB
    uint8_t program = 0; // 255 when absent
    uint8_t volume = 0;  // 100 when absent
    uint8_t pan = 0;     // 0 when absent

    // Event counts
    uint32_t listedEvents = 0; // events an event list shows ("Size")
    uint32_t totalEvents = 0;  // every stored event

    uint8_t BankMsb() const { return uint8_t(bank >> 8); }
    uint8_t BankLsb() const { return uint8_t(bank & 0xFF); }
};

} // namespace zib
