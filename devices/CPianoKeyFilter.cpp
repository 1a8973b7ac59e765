#include "devices/CPianoKeyFilter.h"

#include "devices/core/KeyboardOctave.h"
#include "devices/CPianoWnd.h"

#include <wx/event.h>
#include <wx/toplevel.h>
#include <wx/window.h>

namespace zib {

CPianoKeyFilter::CPianoKeyFilter(wxWindow& scope, CPianoWnd& piano, KeyboardOctave& octave, std::mutex& lock)
    : m_scope(scope), m_piano(piano), m_octave(octave), m_lock(lock)
{
    wxEvtHandler::AddFilter(this);
}

CPianoKeyFilter::~CPianoKeyFilter()
{
    wxEvtHandler::RemoveFilter(this);
}

void CPianoKeyFilter::SetLabels(wxWindow* upper, wxWindow* lower)
{
    m_upperLabel = upper;
    m_lowerLabel = lower;
    if (upper) m_octave.Attach(upper->GetPosition().x, lower ? lower->GetPosition().x : 0);
    else if (lower) m_octave.Attach(0, lower->GetPosition().x);
}

bool CPianoKeyFilter::InScope(const wxEvent& event) const
{
    auto* window = wxDynamicCast(event.GetEventObject(), wxWindow);
    return window != nullptr && wxGetTopLevelParent(window) == wxGetTopLevelParent(&m_scope);
}

void CPianoKeyFilter::ChangeOctave(bool right)
{
    if (right) m_octave.OctaveRight();
    else m_octave.OctaveLeft();
    m_piano.SetMarkedOctave(m_octave.Octave());
    m_piano.RedrawAllKeys();
    m_piano.RedrawMarkedOctave();
    if (m_upperLabel) m_upperLabel->Move(m_octave.UpperLabelX(), m_upperLabel->GetPosition().y);
    if (m_lowerLabel) m_lowerLabel->Move(m_octave.LowerLabelX(), m_lowerLabel->GetPosition().y);
}

int CPianoKeyFilter::FilterEvent(wxEvent& event)
{
    const wxEventType type = event.GetEventType();
    if ((type != wxEVT_KEY_DOWN && type != wxEVT_KEY_UP) || !InScope(event)) return Event_Skip;
    const bool down = type == wxEVT_KEY_DOWN;
    if (down && m_busy && m_busy()) return Event_Skip;

    std::lock_guard<std::mutex> hold(m_lock);
    const int code = static_cast<wxKeyEvent&>(event).GetKeyCode();
    if (down && (code == WXK_LEFT || code == WXK_RIGHT)) {
        ChangeOctave(code == WXK_RIGHT);
        return Event_Processed;
    }
    if (!m_octave.Key(code, down)) return Event_Skip;
    m_piano.RefreshKeys();
    return Event_Processed;
}

} // namespace zib
