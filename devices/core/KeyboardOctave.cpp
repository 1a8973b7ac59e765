#include "devices/core/KeyboardOctave.h"

#include "devices/core/CPianoKeyboard.h"
#include "devices/core/CPianoListener.h"

namespace zib {

KeyboardOctave::KeyboardOctave(CPianoKeyboard& piano, CPianoListener& listener)
    : m_piano(piano), m_listener(listener)
{
    m_keys.fill(kKeyUp);
}

void KeyboardOctave::Attach(int upperLabelX, int lowerLabelX)
{
    m_upperLabelX = upperLabelX;
    m_lowerLabelX = lowerLabelX;
}

bool KeyboardOctave::Key(int keyCode, bool down)
{
    if (keyCode <= 0 || keyCode > 0xFF) return false;
    const size_t letter = kLetters.find(char(keyCode));
    if (letter == std::string_view::npos) return false;
    int& held = m_keys[letter];
    if (down) {
        if (held != kKeyUp) return true;
        held = m_octave * 12 + m_piano.FirstNote() + int(letter);
        m_piano.PressKey(held);
        m_listener.NoteDown(held);
    } else if (held != kKeyUp) {
        const int note = held;
        held = kKeyUp;
        m_piano.ReleaseKey(note);
        m_listener.NoteUp(note);
    }
    return true;
}

void KeyboardOctave::OctaveLeft()
{
    m_octave = (m_octave + kOctaves - 1) % kOctaves;
}

void KeyboardOctave::OctaveRight()
{
    m_octave = (m_octave + 1) % kOctaves;
}

} // namespace zib
