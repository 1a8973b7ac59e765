#pragma once

#include "tests/support/SmfBuilder.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace zib::test {

// A synthetic song for the benchmarks: 64 track chunks (the conductor with a
// marker every eight bars, and 63 channel tracks, the most a file holds),
// each channel track with its name, program and volume and then a note per
// beat and a controller every second beat. `quarters` 4 gives about 200k
// events; the image is built once per size.
inline const std::vector<uint8_t>& BigSong(int quarters)
{
    static std::map<int, std::vector<uint8_t>> images;
    auto& image = images[quarters];
    if (image.empty()) {
        SmfBuilder smf(1, 384);
        SmfTrack& conductor = smf.AddTrack().TimeSig(0, 4, 2).Tempo(0, 500000);
        const uint32_t beats = 1270 * uint32_t(quarters) / 4;
        for (uint32_t bar = 0; bar < beats / 4; bar += 8)
            conductor.Marker(bar * 1536, "Bar " + std::to_string(bar + 1));
        for (int k = 0; k < 63; ++k) {
            const int channel = k % 16;
            SmfTrack& t = smf.AddTrack().TrackName(0, "Track " + std::to_string(k + 1)).Program(0, channel, k);
            t.Controller(0, channel, 7, 100);
            for (uint32_t beat = 0; beat < beats; ++beat) {
                const uint32_t tick = beat * 384 + uint32_t(k);
                t.NoteOn(tick, channel, 40 + k % 40, 90).NoteOff(tick + 300, channel, 40 + k % 40);
                if (beat % 2 == 0) t.Controller(tick, channel, 11, int(beat % 128));
            }
        }
        image = smf.Build();
    }
    return image;
}

} // namespace zib::test
