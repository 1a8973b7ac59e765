#pragma once

#include "midi/CStyleMidiReader.h"

#include <cstdint>
#include <vector>

namespace zib::test {

// A style as the playback console reads it, built in memory: each pattern
// (element, chord variation) is a format-0 MIDI file of notes read into one
// CStyleMidiReader, with its note offs paired to their note ons.
class ConsoleStyle {
public:
    // A note on at `on` and its note off at `off` on a zero-based channel
    struct Note {
        uint32_t on = 0;
        uint32_t off = 0;
        int channel = 0;
        int key = 60;
        int velocity = 100;
    };

    // Qe series (model code 70) or Wq series (model code 'M')
    explicit ConsoleStyle(bool qe, uint16_t division = 96);

    // Reads the pattern; its events run from the returned index to the
    // closing event of raw length 0 at `length` (or the last note off)
    uint32_t AddPattern(int element, int variation, uint32_t length, const std::vector<Note>& notes);

    CStyleMidiReader reader;

private:
    uint16_t m_division;
};

// The time-signature byte of numerator / 2^power
inline uint8_t TimeSignatureByte(int numerator, int power)
{
    return uint8_t((numerator - 1) | power << 4);
}

} // namespace zib::test
