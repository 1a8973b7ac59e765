#pragma once

#include "platform/FileIo.h"
#include "tests/support/SmfBuilder.h"
#include "tests/support/TempDir.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zib::test {

// The large file the MIDI road is measured on, side by side with midicsv:
// about 4 MB of 1M events in 17 track chunks (a conductor and 16 channel
// tracks of 31,250 notes each, every event with its status byte). Built
// once, the same bytes on every run.
inline const std::vector<uint8_t>& MillionEventSong()
{
    static const std::vector<uint8_t> image = [] {
        SmfBuilder smf(1, 480);
        smf.AddTrack().TimeSig(0, 4, 2).Tempo(0, 500000).TrackName(0, "Million");
        for (int k = 0; k < 16; ++k) {
            SmfTrack& t = smf.AddTrack().TrackName(0, "T" + std::to_string(k)).Program(0, k, k);
            for (uint32_t i = 0; i < 31250; ++i) {
                const uint32_t tick = i * 120 + uint32_t(k);
                t.NoteOn(tick, k, 36 + int(i % 48), 64 + int(i % 63)).NoteOff(tick + 100, k, 36 + int(i % 48));
            }
        }
        return smf.Build();
    }();
    return image;
}

// The song as a file of a folder of its own, written on the first call; both
// stay until the program ends.
inline const std::filesystem::path& MillionEventSongFile()
{
    static const TempDir dir;
    static const std::filesystem::path file = [] {
        const auto path = dir / "MillionEvents.mid";
        writeFileAtomically(path, MillionEventSong());
        return path;
    }();
    return file;
}

} // namespace zib::test
