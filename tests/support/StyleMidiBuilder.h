#pragma once

#include "tests/support/SmfBuilder.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace zib::test {

// Builds style MIDI files in memory: a format-1 file whose first track (the
// conductor) holds the time signature, the tempo (120) and the text commands
// ("Element: VAR1", "CV: C Major" ...), followed by one track per MIDI
// channel that plays, added in the order the channels are first asked for.
// One time signature holds for the whole file unless a test adds more to the
// conductor itself.
class StyleMidiBuilder {
public:
    // Meta types of the text commands: the Qe collector writes markers, the
    // Wq style exports write text events.
    static constexpr int kMarker = 0x06;
    static constexpr int kText = 0x01;

    // Division and numerator / 2^power at tick 0
    explicit StyleMidiBuilder(uint16_t division = 96, int numerator = 4, int denominatorPower = 2);

    // Positions: the first tick of measure m (from 0), plus beats and ticks
    uint32_t Bar(int measure, int beat = 0, int tick = 0) const;
    uint32_t TicksPerBar() const { return m_ticksPerBar; }
    uint16_t Division() const { return m_division; }

    // Conductor track: a text command at a tick or at the start of a
    // measure, and the track itself for anything else
    StyleMidiBuilder& Command(uint32_t tick, const std::string& text, int metaType = kMarker);
    StyleMidiBuilder& Command(int measure, const std::string& text, int metaType = kMarker)
    {
        return Command(Bar(measure), text, metaType);
    }
    SmfTrack& Conductor() { return *m_conductor; }

    // Channel tracks (channel 1-16), each added on first use
    SmfTrack& Channel(int channel);
    // A note on and its note off `length` ticks later
    StyleMidiBuilder& Note(int channel, uint32_t tick, int key, int velocity, uint32_t length,
                           int offVelocity = 64);
    // A note on at tick `on` and its note off (velocity 0) at tick `off`
    StyleMidiBuilder& NoteSpan(int channel, uint32_t on, uint32_t off, int key, int velocity = 100);
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

    // The file underneath, for tracks that play on no single channel
    SmfBuilder& Smf() { return m_smf; }
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
