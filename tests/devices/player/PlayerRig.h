#pragma once

#include "devices/core/CMidiBarPlayer.h"
#include "tests/support/PlayerFakes.h"
#include "tests/support/SmfBuilder.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace zib::test {

// One MIDI document with its player, view and fake devices. The songs of
// these tests use division 96 and 96000 us per quarter: one tick is 1 ms.
struct PlayerRig {
    static constexpr uint32_t kTempo = 96000;

    explicit PlayerRig(const std::vector<uint8_t>& image)
        : doc(image), player(std::make_unique<CMidiBarPlayer>(doc, view, host))
    {
        player->PrepareForDocument();
    }

    // A format-1 song: track 0 with the tempo and a 4/4 signature
    static SmfBuilder Song(int numerator = 4, int denominatorPower = 2)
    {
        SmfBuilder b(1, 96);
        b.AddTrack().Tempo(0, kTempo).TimeSig(0, numerator, denominatorPower);
        return b;
    }

    void Start()
    {
        t0 = host.devices->NowUs();
        player->StartMidiPlayback();
    }
    bool RunToEnd(int64_t limitUs = 600'000'000LL) { return test::RunToEnd(*player, host, view, limitUs); }

    // What the devices played through the streams since the start: device,
    // tick (1 ms each) and the packed message
    struct Heard {
        int device;
        uint32_t tick;
        uint32_t message;
        bool operator==(const Heard&) const = default;
    };
    std::vector<Heard> Played(bool notesOnly = true) const
    {
        std::vector<Heard> out;
        for (const auto& s : host.devices->SentMessages()) {
            if (s.immediate || !s.longData.empty()) continue;
            if (notesOnly && (s.message & 0xE0) != 0x80) continue;
            out.push_back({s.device, uint32_t((s.timeUs - t0 + 500) / 1000), s.message});
        }
        return out;
    }
    std::vector<uint32_t> Immediate() const
    {
        std::vector<uint32_t> out;
        for (const auto& s : host.devices->SentMessages())
            if (s.immediate) out.push_back(s.message);
        return out;
    }

    FakePlayerHost host;
    FakePlayerView view;
    FakePlaybackDocument doc;
    std::unique_ptr<CMidiBarPlayer> player;
    int64_t t0 = 0;
};

inline uint32_t NoteOn(int channel, int key, int velocity)
{
    return uint32_t(0x90 | channel) | uint32_t(key) << 8 | uint32_t(velocity) << 16;
}

} // namespace zib::test
