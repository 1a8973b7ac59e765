#pragma once

#include "devices/core/CPianoKeyboard.h"

#include <vector>
#include <wx/bitmap.h>
#include <wx/window.h>

namespace zib {

class CPianoListener;

// The on-screen piano: a child window that draws the keys of a
// CPianoKeyboard and plays them with the mouse. Each octave is drawn into
// its own bitmap through a memory device context; painting only copies the
// bitmaps. The piano reports note down and note up to its listener and makes
// no sound itself.
//
// Use: Create, SetUp (octaves and unit; sizes the window), SetFirstNote,
// SetListener. Keys pressed from elsewhere (the computer keyboard) go through
// PressKey / ReleaseKey, or through Keyboard() followed by RefreshKeys().
class CPianoWnd : public wxWindow {
public:
    static constexpr const char* kWindowName = "PianoWindow";

    CPianoWnd() = default;
    ~CPianoWnd() override;
    bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition);

    // Set-up
    // False, and nothing drawn, when the octaves cannot be set up
    bool SetUp(int octaves, int unit);
    bool SetFirstNote(int note);
    void SetListener(CPianoListener* listener) { m_keyboard.SetListener(listener); }

    // Keys
    void PressKey(int note);
    void ReleaseKey(int note);
    void SetMarkedOctave(int octave);
    void RedrawAllKeys();
    void RedrawMarkedOctave();
    // Draws what changed in the model since the last call and invalidates it
    void RefreshKeys();

    // The model
    CPianoKeyboard& Keyboard() { return m_keyboard; }
    const CPianoKeyboard& Keyboard() const { return m_keyboard; }
    // Where a note's key is, in window coordinates (its upper rectangle's
    // centre); wxDefaultPosition outside the piano
    wxPoint KeyCentre(int note) const;

private:
    // Drawing
    void DrawKey(int note);
    void DrawAllKeys();
    void OnPaint(wxPaintEvent& event);

    // Mouse
    void OnLeftDown(wxMouseEvent& event);
    void OnButtonUp(wxMouseEvent& event);
    void OnRightDown(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnLeave(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void ApplyCapture(CPianoKeyboard::Capture capture);

    CPianoKeyboard m_keyboard;
    std::vector<wxBitmap> m_octaveBitmaps;
};

} // namespace zib
