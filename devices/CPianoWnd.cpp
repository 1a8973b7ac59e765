#include "devices/CPianoWnd.h"

#include <wx/dcclient.h>
#include <wx/dcmemory.h>

namespace zib {

namespace {

wxColour toWx(const PianoColour& c)
{
    return wxColour(c.red, c.green, c.blue);
}

wxRect toWx(const CPianoRect& r)
{
    return wxRect(r.left, r.top, r.width, r.height);
}

} // namespace

// The capture outlives a click until the mouse leaves: a window closed
// before that gives it back.
CPianoWnd::~CPianoWnd()
{
    if (HasCapture()) ReleaseMouse();
}

bool CPianoWnd::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos)
{
    // No background brush: the octave bitmaps cover the whole window.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    if (!wxWindow::Create(parent, id, pos, wxSize(1, 1), wxFULL_REPAINT_ON_RESIZE, kWindowName))
        return false;
    SetCursor(wxCursor(wxCURSOR_ARROW));
    Bind(wxEVT_PAINT, &CPianoWnd::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &CPianoWnd::OnLeftDown, this);
    Bind(wxEVT_LEFT_DCLICK, &CPianoWnd::OnLeftDown, this);
    Bind(wxEVT_LEFT_UP, &CPianoWnd::OnButtonUp, this);
    Bind(wxEVT_RIGHT_UP, &CPianoWnd::OnButtonUp, this);
    Bind(wxEVT_RIGHT_DOWN, &CPianoWnd::OnRightDown, this);
    Bind(wxEVT_MOTION, &CPianoWnd::OnMotion, this);
    Bind(wxEVT_LEAVE_WINDOW, &CPianoWnd::OnLeave, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &CPianoWnd::OnCaptureLost, this);
    return true;
}

bool CPianoWnd::SetUp(int octaves, int unit)
{
    if (!m_keyboard.SetUp(octaves, unit)) return false;
    m_octaveBitmaps.clear();
    for (int i = 0; i < octaves; ++i)
        m_octaveBitmaps.emplace_back(m_keyboard.OctaveWidth(), m_keyboard.Height());
    for (const wxBitmap& bitmap : m_octaveBitmaps)
        if (!bitmap.IsOk()) {
            m_octaveBitmaps.clear();
            return false;
        }
    SetSize(wxSize(m_keyboard.Width(), m_keyboard.Height()));
    SetMinSize(GetSize());
    RefreshKeys();
    return true;
}

bool CPianoWnd::SetFirstNote(int note)
{
    if (!m_keyboard.SetFirstNote(note)) return false;
    RefreshKeys();
    return true;
}

void CPianoWnd::PressKey(int note)
{
    m_keyboard.PressKey(note);
    RefreshKeys();
}

void CPianoWnd::ReleaseKey(int note)
{
    m_keyboard.ReleaseKey(note);
    RefreshKeys();
}

void CPianoWnd::SetMarkedOctave(int octave)
{
    m_keyboard.SetMarkedOctave(octave);
    RefreshKeys();
}

void CPianoWnd::RedrawAllKeys()
{
    m_keyboard.RedrawAllKeys();
    RefreshKeys();
}

void CPianoWnd::RedrawMarkedOctave()
{
    m_keyboard.RedrawMarkedOctave();
    RefreshKeys();
}

wxPoint CPianoWnd::KeyCentre(int note) const
{
    int octaveLeft = 0;
    const CPianoKey* key = m_keyboard.KeyOf(note, octaveLeft);
    if (key == nullptr) return wxDefaultPosition;
    const CPianoRect& r = key->Upper();
    return wxPoint(octaveLeft + r.left + r.width / 2, r.top + r.height / 2);
}

void CPianoWnd::RefreshKeys()
{
    bool all = false;
    const std::vector<int> notes = m_keyboard.TakeDirtyNotes(all);
    if (m_octaveBitmaps.size() != size_t(m_keyboard.OctaveCount())) return;
    if (all) {
        DrawAllKeys();
        Refresh(false);
        return;
    }
    for (const int note : notes) {
        DrawKey(note);
        int octaveLeft = 0;
        if (const CPianoKey* key = m_keyboard.KeyOf(note, octaveLeft)) {
            RefreshRect(toWx(key->Upper().Offset(octaveLeft, 0)), false);
            if (!key->Lower().IsEmpty()) RefreshRect(toWx(key->Lower().Offset(octaveLeft, 0)), false);
        }
    }
}

void CPianoWnd::DrawKey(int note)
{
    int octaveLeft = 0;
    const CPianoKey* key = m_keyboard.KeyOf(note, octaveLeft);
    if (key == nullptr) return;
    wxMemoryDC dc(m_octaveBitmaps[size_t((note - m_keyboard.FirstNote()) / 12)]);
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(toWx(m_keyboard.KeyColour(note))));
    dc.DrawRectangle(toWx(key->Upper()));
    if (!key->Lower().IsEmpty()) dc.DrawRectangle(toWx(key->Lower()));
}

void CPianoWnd::DrawAllKeys()
{
    for (wxBitmap& bitmap : m_octaveBitmaps) {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(wxBrush(toWx(CPianoOctave::kBackground)));
        dc.Clear();
    }
    for (int note = m_keyboard.FirstNote(); note <= m_keyboard.LastNote(); ++note)
        DrawKey(note);
}

void CPianoWnd::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    for (size_t i = 0; i < m_octaveBitmaps.size(); ++i)
        dc.DrawBitmap(m_octaveBitmaps[i], m_keyboard.Octave(int(i)).Area().left, 0, false);
}

void CPianoWnd::ApplyCapture(CPianoKeyboard::Capture capture)
{
    if (capture == CPianoKeyboard::Capture::Take && !HasCapture()) CaptureMouse();
    if (capture == CPianoKeyboard::Capture::Release && HasCapture()) ReleaseMouse();
    RefreshKeys();
}

void CPianoWnd::OnLeftDown(wxMouseEvent& event)
{
    ApplyCapture(m_keyboard.LeftDown(event.GetX(), event.GetY()));
}

void CPianoWnd::OnButtonUp(wxMouseEvent&)
{
    ApplyCapture(m_keyboard.ButtonUp());
}

void CPianoWnd::OnRightDown(wxMouseEvent& event)
{
    ApplyCapture(m_keyboard.RightDown(event.GetX(), event.GetY()));
}

void CPianoWnd::OnMotion(wxMouseEvent& event)
{
    ApplyCapture(m_keyboard.Move(event.GetX(), event.GetY(), event.LeftIsDown()));
}

// Taking the capture can report a leave while the pointer is still inside;
// only a leave to a point outside counts.
void CPianoWnd::OnLeave(wxMouseEvent& event)
{
    ApplyCapture(m_keyboard.Move(event.GetX(), event.GetY(), event.LeftIsDown()));
}

void CPianoWnd::OnCaptureLost(wxMouseCaptureLostEvent&)
{
    m_keyboard.CaptureLost();
    RefreshKeys();
}

} // namespace zib
