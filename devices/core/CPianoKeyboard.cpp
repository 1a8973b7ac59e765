#include "devices/core/CPianoKeyboard.h"

#include "devices/core/CPianoListener.h"

#include <algorithm>

namespace zib {

bool CPianoKeyboard::SetUp(int octaves, int unit)
{
    if (octaves < 1 || octaves > kMaxOctaves || unit < 1 || unit > kMaxUnit) return false;
    if (m_firstNote + 12 * octaves - 1 > 127) return false;
    m_unit = unit;
    m_octaves.clear();
    for (int i = 0; i < octaves; ++i)
        m_octaves.emplace_back(i * OctaveWidth(), unit, uint8_t(m_firstNote + 12 * i));
    m_pressed.assign(size_t(12 * octaves), 0);
    m_lastKey = m_underMouse = kNoKey;
    m_allDirty = true;
    m_dirty.clear();
    return true;
}

bool CPianoKeyboard::SetFirstNote(int note)
{
    if (note < 0 || note + 12 * OctaveCount() - 1 > 127) return false;
    m_firstNote = note;
    for (int i = 0; i < OctaveCount(); ++i)
        m_octaves[size_t(i)].SetFirstNote(uint8_t(note + 12 * i));
    std::fill(m_pressed.begin(), m_pressed.end(), 0);
    m_lastKey = m_underMouse = kNoKey;
    m_allDirty = true;
    return true;
}

bool CPianoKeyboard::IsPressed(int note) const
{
    return InRange(note) && m_pressed[size_t(note - m_firstNote)] != 0;
}

void CPianoKeyboard::MarkDirty(int note)
{
    if (std::find(m_dirty.begin(), m_dirty.end(), note) == m_dirty.end()) m_dirty.push_back(note);
}

void CPianoKeyboard::PressKey(int note)
{
    if (!InRange(note)) return;
    m_pressed[size_t(note - m_firstNote)] = 1;
    MarkDirty(note);
}

void CPianoKeyboard::ReleaseKey(int note)
{
    if (!InRange(note)) return;
    m_pressed[size_t(note - m_firstNote)] = 0;
    MarkDirty(note);
}

void CPianoKeyboard::SetMarkedOctave(int octave)
{
    if (octave == m_markedOctave) return;
    const int old = m_markedOctave;
    m_markedOctave = octave;
    for (const int o : {old, octave})
        if (o >= 0 && o < OctaveCount())
            for (int i = 0; i < 12; ++i)
                MarkDirty(m_firstNote + 12 * o + i);
}

void CPianoKeyboard::SetMarkedKey(int note)
{
    m_markedKey = note;
    m_allDirty = true;
}

void CPianoKeyboard::RedrawMarkedOctave()
{
    if (m_markedOctave < 0 || m_markedOctave >= OctaveCount()) return;
    for (int i = 0; i < 12; ++i)
        MarkDirty(m_firstNote + 12 * m_markedOctave + i);
}

std::vector<int> CPianoKeyboard::TakeDirtyNotes(bool& all)
{
    all = m_allDirty;
    m_allDirty = false;
    std::vector<int> notes;
    notes.swap(m_dirty);
    return notes;
}

const CPianoKey* CPianoKeyboard::KeyOf(int note, int& octaveLeft) const
{
    if (!InRange(note)) return nullptr;
    const CPianoOctave& octave = m_octaves[size_t((note - m_firstNote) / 12)];
    octaveLeft = octave.Area().left;
    return &octave.Key((note - m_firstNote) % 12);
}

PianoColour CPianoKeyboard::KeyColour(int note) const
{
    int octaveLeft = 0;
    const CPianoKey* key = KeyOf(note, octaveLeft);
    if (key == nullptr) return CPianoOctave::kBackground;
    CPianoKey::Look look;
    look.pressed = IsPressed(note);
    look.inMarkedOctave = (note - m_firstNote) / 12 == m_markedOctave;
    look.marked = note == m_markedKey;
    return key->Colour(look);
}

uint8_t CPianoKeyboard::HitTest(int x, int y) const
{
    if (x < 1 || x > Width() - 1 || y < 1 || y > Height() - 1) return kNoKey;
    const int index = x / OctaveWidth();
    if (index >= OctaveCount()) return kNoKey;
    const CPianoOctave& octave = m_octaves[size_t(index)];
    const int key = octave.HitTest(x - octave.Area().left, y);
    return key < 0 ? kNoKey : octave.Key(key).Note();
}

// The mouse presses a key: the listener hears note down.
void CPianoKeyboard::MousePress(uint8_t note)
{
    m_lastKey = note;
    if (note == kNoKey) return;
    PressKey(note);
    if (m_listener) m_listener->NoteDown(note);
}

// The key the mouse holds goes up: the listener hears note up.
void CPianoKeyboard::MouseRelease()
{
    const uint8_t note = m_lastKey;
    m_lastKey = kNoKey;
    if (note == kNoKey) return;
    ReleaseKey(note);
    if (m_listener) m_listener->NoteUp(note);
}

CPianoKeyboard::Capture CPianoKeyboard::LeftDown(int x, int y)
{
    MouseRelease();
    m_underMouse = HitTest(x, y);
    MousePress(m_underMouse);
    if (m_captured) return Capture::Keep;
    m_captured = true;
    return Capture::Take;
}

CPianoKeyboard::Capture CPianoKeyboard::Move(int x, int y, bool leftHeld)
{
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) {
        // Leaving the window ends the press: the button may come up elsewhere.
        MouseRelease();
        m_underMouse = kNoKey;
        if (!m_captured) return Capture::Keep;
        m_captured = false;
        return Capture::Release;
    }
    const uint8_t key = HitTest(x, y);
    Capture capture = Capture::Keep;
    if (leftHeld) {
        if (!m_captured) {
            m_captured = true;
            capture = Capture::Take;
        }
        if (key != m_underMouse) {
            MouseRelease();
            MousePress(key);
        }
    }
    m_underMouse = key;
    return capture;
}

CPianoKeyboard::Capture CPianoKeyboard::ButtonUp()
{
    MouseRelease();
    return Capture::Keep;
}

CPianoKeyboard::Capture CPianoKeyboard::RightDown(int x, int y)
{
    MouseRelease();
    m_underMouse = HitTest(x, y);
    SetMarkedKey(m_underMouse == kNoKey ? -1 : m_underMouse);
    MousePress(m_underMouse);
    return Capture::Keep;
}

void CPianoKeyboard::CaptureLost()
{
    m_captured = false;
    MouseRelease();
}

} // namespace zib
