#pragma once

#include <array>
#include <string_view>

namespace zib {

class CPianoKeyboard;
class CPianoListener;

// Twelve letter keys of the computer keyboard as one octave of the piano:
//   Z C   S C#   X D   D D#   C E   V F   G F#   B G   H G#   N A   J A#   M B
// The octave (0-4) counts from the piano's first note, so with the console's
// piano (first note 36) the keys play 36 + 12 x octave to 47 + 12 x octave.
// Two labels of the console (the black-key letters above, the white-key
// letters below) move with the octave.
class KeyboardOctave {
public:
    static constexpr std::string_view kLetters = "ZSXDCVGBHNJM";
    static constexpr int kOctaves = 5;
    static constexpr int kUpperLabelStep = 126; // pixels per octave
    static constexpr int kLowerLabelStep = 127;
    static constexpr int kKeyUp = -1;

    KeyboardOctave(CPianoKeyboard& piano, CPianoListener& listener);

    // The labels' x positions in the dialog at octave 0
    void Attach(int upperLabelX, int lowerLabelX);

    // A key code (the letters are upper-case, as key events give them) goes
    // down or up. Down presses the note of the key's letter unless the key is
    // held already (auto-repeat); up releases the note its down started, even
    // after an octave change. False for any key but the twelve letters.
    bool Key(int keyCode, bool down);

    // Octave left and right, wrapping from 0 to 4 and from 4 to 0
    void OctaveLeft();
    void OctaveRight();

    // State
    int Octave() const { return m_octave; }
    int UpperLabelX() const { return m_upperLabelX + m_octave * kUpperLabelStep; }
    int LowerLabelX() const { return m_lowerLabelX + m_octave * kLowerLabelStep; }
    // The note a letter's key holds (0-11 from Z), or kKeyUp
    int HeldNote(int letter) const { return m_keys[size_t(letter)]; }

private:
    CPianoKeyboard& m_piano;
    CPianoListener& m_listener;
    std::array<int, 12> m_keys;
    int m_octave = 0;
    int m_upperLabelX = 0;
    int m_lowerLabelX = 0;
};

} // namespace zib
