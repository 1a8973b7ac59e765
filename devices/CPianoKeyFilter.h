#pragma once

#include <functional>
#include <mutex>
#include <wx/eventfilter.h>

class wxWindow;

namespace zib {

class KeyboardOctave;
class CPianoWnd;

// The console's key handling ahead of its controls: while it lives, key
// events of any window inside `scope`'s top-level window reach the computer
// keyboard octave first, under the program's global lock.
//   left / right arrow down  octave down / up; the piano marks that octave
//                            and the key labels move with it
//   one of the twelve letters  down plays its note, up releases it
// Those keys are used up; every other key goes on to the controls as usual.
// While `busy` says a style element restart or a chord change is pending,
// key downs go on to the controls unplayed; key ups still release the notes
// their downs started.
class CPianoKeyFilter : public wxEventFilter {
public:
    CPianoKeyFilter(wxWindow& scope, CPianoWnd& piano, KeyboardOctave& octave, std::mutex& lock);
    ~CPianoKeyFilter() override;
    CPianoKeyFilter(const CPianoKeyFilter&) = delete;
    CPianoKeyFilter& operator=(const CPianoKeyFilter&) = delete;

    // The labels that show the letters (black keys above, white below);
    // either may be null
    void SetLabels(wxWindow* upper, wxWindow* lower);
    void SetBusy(std::function<bool()> busy) { m_busy = std::move(busy); }

    int FilterEvent(wxEvent& event) override;

private:
    bool InScope(const wxEvent& event) const;
    void ChangeOctave(bool right);

    wxWindow& m_scope;
    CPianoWnd& m_piano;
    KeyboardOctave& m_octave;
    std::mutex& m_lock;
    wxWindow* m_upperLabel = nullptr;
    wxWindow* m_lowerLabel = nullptr;
    std::function<bool()> m_busy;
};

} // namespace zib
