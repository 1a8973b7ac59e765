#pragma once

#include "devices/core/CPianoKey.h"
#include "devices/core/CPianoRect.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace zib {

// One octave of the on-screen piano: 12 keys C to B. With u the unit and
// g = u / 3 the white keys stand every 4u + 2g from g (C g, D 4u + 3g,
// E 8u + 5g ... B 24u + 13g) and the black keys at C# 3u + 2g, D# 7u + 4g,
// F# 15u + 8g, G# 19u + 10g, A# 23u + 12g; the octave is 14 x (2u + g) wide
// and 16u high. Key rectangles are relative to the octave's left.
class CPianoOctave {
public:
    static constexpr int kKeys = 12;
    static constexpr PianoColour kBackground{200, 200, 200};

    CPianoOctave() = default;
    CPianoOctave(int left, int unit, uint8_t firstNote);

    // Geometry
    static int WidthFor(int unit) { return 14 * (2 * unit + unit / 3); }
    static int HeightFor(int unit) { return 16 * unit; }
    const CPianoRect& Area() const { return m_area; } // in the piano window
    const CPianoKey& Key(int index) const { return m_keys[size_t(index)]; }
    // The key (0-11) whose rectangle holds the point (octave coordinates),
    // trying the keys from C upward; -1 for none
    int HitTest(int x, int y) const;

    // Notes
    void SetFirstNote(uint8_t note);
    uint8_t FirstNote() const { return m_keys[0].Note(); }

private:
    CPianoRect m_area;
    std::array<CPianoKey, kKeys> m_keys{};
};

} // namespace zib
