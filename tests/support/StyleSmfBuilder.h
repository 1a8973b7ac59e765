#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tests/support/SmfBuilder.h"

namespace zib::test {

// Builds a style MIDI file in memory: format 1, a conductor track (tempo and
// time signature at tick 0, then the text commands) and one track chunk per
// MIDI channel, added in the order the channels are first asked for.
class StyleSmfBuilder {
public:
    // Tempo 120 (500000 microseconds per quarter) and numerator / 2^power at tick 0.
    explicit StyleSmfBuilder(uint16_t division = 96, int numerator = 4, int denominatorPower = 2);

    // Ticks of one bar of the first time signature
    uint32_t Bar() const { return m_bar; }
    uint16_t Division() const { return m_division; }

    // A text command (meta type 1) on the conductor track
    StyleSmfBuilder& Command(uint32_t tick, const std::string& text);
    SmfTrack& Conductor() { return *m_conductor; }
    // The track chunk of MIDI channel 1-16
    SmfTrack& Channel(int channel);
    // A note on the channel from `on` to `off` (note-off with velocity 0)
    StyleSmfBuilder& Note(int channel, uint32_t on, uint32_t off, int key, int velocity = 100);

    SmfBuilder& Smf() { return m_smf; }
    std::vector<uint8_t> Build() const { return m_smf.Build(); }

private:
    uint16_t m_division;
    uint32_t m_bar;
    SmfBuilder m_smf;
    SmfTrack* m_conductor;
    std::map<int, SmfTrack*> m_channels;
};

} // namespace zib::test
