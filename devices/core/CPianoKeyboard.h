#pragma once

#include "devices/core/CPianoOctave.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zib {

class CPianoListener;

// The on-screen piano without its window: octaves of keys side by side, the
// notes they play, which keys are pressed, the marked octave and key, and
// what the mouse does. The piano window (CPianoWnd) draws what this model
// says and feeds it the mouse; the computer keyboard (KeyboardOctave)
// presses and releases keys through it.
//
// Mouse:
//   left down / double click  presses the key under the mouse (note down)
//                             and captures the mouse
//   move with the left button the key under the mouse changes: note up for
//                             the old key, then note down for the new one;
//                             moving off every key releases the old one
//   move out of the window    releases the capture and the pressed key
//   left or right button up   releases the key the mouse pressed
//   right down                marks the key under the mouse, then presses it
// A key pressed by the mouse is always released by it: a new button down,
// a button up, leaving the window or losing the capture releases it.
class CPianoKeyboard {
public:
    static constexpr uint8_t kNoKey = 255;
    static constexpr int kMaxOctaves = 10;
    static constexpr int kMaxUnit = 32;
    static constexpr int kInitialMarkedKey = 60;

    // What the window does with the mouse capture after a mouse event
    enum class Capture { Keep, Take, Release };

    // Set-up
    // `octaves` octaves (1-10) of unit `unit` (1-32 pixels), all keys at rest;
    // false, and the piano unchanged, for anything else
    bool SetUp(int octaves, int unit);
    // Octave i plays notes note + 12i .. note + 12i + 11; false, and the notes
    // unchanged, when a note would leave 0-127
    bool SetFirstNote(int note);
    void SetListener(CPianoListener* listener) { m_listener = listener; }

    // Keys (notes outside first to last are ignored)
    void PressKey(int note);
    void ReleaseKey(int note);
    // Marks
    void SetMarkedOctave(int octave);
    void SetMarkedKey(int note);
    // Every key must be drawn again
    void RedrawAllKeys() { m_allDirty = true; }
    // The keys of the marked octave must be drawn again
    void RedrawMarkedOctave();

    // Mouse, in window coordinates
    Capture LeftDown(int x, int y);
    Capture Move(int x, int y, bool leftHeld);
    Capture ButtonUp();
    Capture RightDown(int x, int y);
    void CaptureLost();
    // The note under a point: 255 outside 1..width-1 and 1..height-1 and
    // between keys
    uint8_t HitTest(int x, int y) const;

    // Drawing
    // The keys drawn since the last call, by note; `all` when every key is
    std::vector<int> TakeDirtyNotes(bool& all);
    PianoColour KeyColour(int note) const;
    // The key of a note with its rectangles in window coordinates; null
    // outside first to last
    const CPianoKey* KeyOf(int note, int& octaveLeft) const;

    // State
    int OctaveCount() const { return int(m_octaves.size()); }
    const CPianoOctave& Octave(int index) const { return m_octaves[size_t(index)]; }
    int Unit() const { return m_unit; }
    int OctaveWidth() const { return CPianoOctave::WidthFor(m_unit); }
    int Width() const { return OctaveWidth() * OctaveCount(); }
    int Height() const { return CPianoOctave::HeightFor(m_unit); }
    int FirstNote() const { return m_firstNote; }
    int LastNote() const { return m_firstNote + 12 * OctaveCount() - 1; }
    bool IsPressed(int note) const;
    int MarkedOctave() const { return m_markedOctave; }
    int MarkedKey() const { return m_markedKey; }
    bool HasCapture() const { return m_captured; }
    uint8_t LastKey() const { return m_lastKey; }       // the key the mouse holds down
    uint8_t KeyUnderMouse() const { return m_underMouse; }

private:
    bool InRange(int note) const { return note >= m_firstNote && note <= LastNote(); }
    void MarkDirty(int note);
    void MousePress(uint8_t note);
    void MouseRelease();

    std::vector<CPianoOctave> m_octaves;
    std::vector<uint8_t> m_pressed; // by note - first note
    int m_unit = 0;
    int m_firstNote = 0;
    int m_markedOctave = 0;
    int m_markedKey = kInitialMarkedKey;
    CPianoListener* m_listener = nullptr;
    bool m_captured = false;
    uint8_t m_lastKey = kNoKey;
    uint8_t m_underMouse = kNoKey;
    std::vector<int> m_dirty;
    bool m_allDirty = false;
};

} // namespace zib
