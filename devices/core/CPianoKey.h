#pragma once

#include "devices/core/CPianoRect.h"

#include <cstdint>

namespace zib {

// A colour of the piano (red, green, blue).
struct PianoColour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;

    friend constexpr bool operator==(const PianoColour&, const PianoColour&) = default;
};

// One key of the on-screen piano: its shape, note and the one or two
// rectangles it covers. With u the unit and g = u / 3, relative to the key's
// left and top:
//   shape  used for   upper rectangle                 lower rectangle
//   'A'    C, F       left .. +3u,  top .. +10u        left .. +4u, top + 10u .. +16u
//   'B'    D, G, A    left + u .. +3u, top .. +10u     as 'A'
//   'C'    E, B       left + u .. +4u, top .. +10u     as 'A'
//   'D'    black      left .. +2u, top .. +10u - g     none
class CPianoKey {
public:
    // How a key is drawn
    struct Look {
        bool pressed = false;
        bool inMarkedOctave = false; // the octave the computer keyboard plays
        bool marked = false;         // the marked key (right click)
    };

    CPianoKey() = default;
    CPianoKey(char shape, int left, int top, int unit, uint8_t note);

    // Geometry
    char Shape() const { return m_shape; }
    bool IsBlack() const { return m_shape == 'D'; }
    const CPianoRect& Upper() const { return m_upper; }
    const CPianoRect& Lower() const { return m_lower; } // empty for a black key
    bool Contains(int x, int y) const { return m_upper.Contains(x, y) || m_lower.Contains(x, y); }
    uint8_t Note() const { return m_note; }
    void SetNote(uint8_t note) { m_note = note; }

    // Colours
    // The marked key is red whether pressed or not; a pressed key is pink
    // (black) or orange (white); at rest black and white, tinted in the
    // marked octave.
    PianoColour Colour(const Look& look) const;

private:
    char m_shape = 'A';
    CPianoRect m_upper;
    CPianoRect m_lower;
    uint8_t m_note = 0;
};

} // namespace zib
