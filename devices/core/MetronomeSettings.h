#pragma once

#include <cstdint>

namespace zib {

// The metronome of the MIDI player (edited by the metronome dialog).
struct MetronomeSettings {
    // Modes
    static constexpr int kOff = 0;
    static constexpr int kWhenRecording = 1;
    static constexpr int kAlways = 2;
    static constexpr int kBoth = 3; // "Playback" and "Recording" both checked

    int mode = kOff;
    int precountUnit = 0;   // 0 measures, 1 beats
    int precountNumber = 0; // 0-20
    int duration = 6;       // ticks a click sounds, 0-20
    uint8_t firstBeatKey = 42;
    uint8_t firstBeatVelocity = 127;
    uint8_t otherBeatsKey = 42;
    uint8_t otherBeatsVelocity = 100;
    uint8_t channel = 9; // 0-15
    uint8_t port = 0;    // user OUT port

    // Whether a run sounds the metronome and the pre-count
    bool SoundsFor(bool recording) const
    {
        return mode == kAlways || mode == kBoth || (mode == kWhenRecording && recording);
    }
};

} // namespace zib
