#pragma once

#include "tests/support/SmfBuilder.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace zib::test {

// Builds style MIDI files in memory: a format-1 file whose first track (the
// conductor) holds the time signature, the tempo and the text commands
// ("Element: VAR1", "CV: C Major" ...) as markers, followed by one track per
// MIDI channel that plays. One time signature holds for the whole file
// unless a test adds more to the conductor itself.
class StyleMidiBuilder {
public:
    explicit StyleMidiBuilder(uint16_t division = 96, int numerator = 4, int denominatorPower = 2);

    // Positions: the first tick of measure m (from 0), plus beats and ticks
    uint32_t Bar(int measure, int beat = 0, int tick = 0) const;
    uint32_t TicksPerBar() const { return m_ticksPerBar; }
    uint16_t Division() const { return m_division; }

    // Conductor track: a text command at a tick (marker meta events), and
    // the track itself for anything else
    StyleMidiBuilder& Command(uint32_t tick, const std::string& text, int metaType = 0x06);
    StyleMidiBuilder& Command(int measure, const std::string& text) { return Command(Bar(measure), text); }
    SmfTrack& Conductor() { return *m_conductor; }

    // Channel tracks (channel 1-16), each added on first use
    SmfTrack& Channel(int channel);
    // A note on and its note off `length` ticks later
    StyleMidiBuilder& Note(int channel, uint32_t tick, int key, int velocity, uint32_t length,
                           int offVelocity = 64);
    // The four setup events of an element track: expression, bank MSB, bank LSB, program
    StyleMidiBuilder& Setup(int channel, uint32_t tick, int expression, int bankMsb, int bankLsb,
                            int program);
    // A VexSound event: F0 'B' '?' 'x' 01 on/off channel key velocity F7 (channel 0-15)
    StyleMidiBuilder& VexSound(int trackChannel, uint32_t tick, int subType, int vexChannel, int key,
                               int velocity);

    // Every track ends at this tick (default: its last event)
    StyleMidiBuilder& EndAt(uint32_t tick);

    // A "DASKQESTS " block as the Qe collector embeds it: signature, 18-byte
    // name, data, packed in 7-bit groups, closed by F7 (the sysex data).
    static std::vector<uint8_t> StsSysExData(const std::string& name, const std::vector<uint8_t>& data);

    std::vector<uint8_t> Build();

private:
    uint16_t m_division;
    uint32_t m_ticksPerBar;
    uint32_t m_ticksPerBeat;
    SmfBuilder m_smf;
    SmfTrack* m_conductor;
    std::map<int, SmfTrack*> m_channels;
    uint32_t m_endTick = 0;
    bool m_hasEnd = false;
};

} // namespace zib::test
