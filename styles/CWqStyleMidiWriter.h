#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/ByteWriter.h"
#include "styles/CWqStyleData.h"

namespace zib {

// Renders a Wq style image as a Standard MIDI File (format 1, division 96): a
// conductor track and one channel track per style track (DRUM on channel 10
// ... ACC3 on channel 15). Each chord variation is played bar by bar: events
// of a bar are queued by time and written when the bar ends, notes are fitted
// to the bar (ties carry into the next bar, the CV's last bar closes them),
// and pattern references play the pattern's bar that the reference counts.
// Tracks are growable; times are absolute ticks, so every track of a CV ends
// at the same tick.
class CWqStyleMidiWriter {
public:
    enum class Result { Ok, BadArguments, DamagedImage, CvTooLong };

    CWqStyleMidiWriter(const CWqStyleData& style, bool percOnDrumChannel) : style_(style), percOnDrum_(percOnDrumChannel) {}

    // The whole style: bar 1 holds the setup (conductor commands, channel
    // heads), the chord variations follow from bar 2 on with their commands.
    Result BuildStyle(std::vector<uint8_t>& file);
    // One chord variation from tick 0; track 0-5, or -1 / 255 for all.
    Result BuildChordVar(int element, int cv, int track, std::vector<uint8_t>& file);

    // The CV that made the build fail with CvTooLong
    int FailedElement() const { return failedElement_; }
    int FailedCv() const { return failedCv_; }

    // Bar length in ticks of a time-signature code (4/4 for an invalid code)
    static uint32_t BarLength(int timeSigCode);

private:
    struct OutTrack {
        ByteWriter bytes;
        uint32_t lastTick = 0;
    };
    struct Queued {
        uint16_t time;
        std::array<uint8_t, 3> data;
        uint8_t size;
    };
    // Playback state of one track in one CV
    struct Player {
        int track = 0;
        uint8_t channel = 9;
        int length = 0;          // CV length in bars
        int barCounter = 0;      // bars played outside patterns
        uint32_t cvStart = 0;    // absolute tick of the CV
        uint32_t barStart = 0;   // absolute tick of the current bar
        uint32_t barLength = 0;  // ticks of the current bar
        int repeatCounter = 0;   // bar of the pattern being played
        bool skip = false;       // inside a pattern, a bar that is not played
        bool finished = false;
        std::vector<Queued> queue;
    };

    // Tracks
    void Put(OutTrack& out, uint32_t tick, std::initializer_list<uint8_t> bytes);
    void Meta(OutTrack& out, uint32_t tick, uint8_t type, std::span<const uint8_t> data);
    void Text(OutTrack& out, uint32_t tick, uint8_t type, const std::string& text);
    void TimeSigMeta(OutTrack& out, uint32_t tick, int code);
    void TrackName(int track);
    void ChannelHead(int track);
    std::vector<uint8_t> Assemble();

    // Chord variations
    uint32_t RenderCv(int element, int cv, uint32_t cvStart, uint32_t trackMask, bool labels);
    uint32_t PlayTrack(Player& player, std::span<const uint8_t> run);
    void Handle(Player& player, const WqEvent& event, bool inPattern);
    void HandleNote(Player& player, const WqEvent& event);
    void Enqueue(Player& player, uint16_t time, std::initializer_list<uint8_t> data);
    void Flush(Player& player);
    uint8_t ChannelOf(int track) const { return uint8_t(track == 1 && percOnDrum_ ? 9 : 9 + track); }

    const CWqStyleData& style_;
    bool percOnDrum_;
    std::array<OutTrack, 7> tracks_; // conductor, DRUM ... ACC3
    int conductorCode_ = -1;         // time signature in force on the conductor track
    std::array<int, wq::kCvSlotCount> cvFirstCode_{};
    int failedElement_ = -1;
    int failedCv_ = -1;
};

} // namespace zib
