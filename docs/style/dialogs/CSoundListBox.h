#pragma once

#include <wx/vlbox.h>

namespace zib {

class QeSoundList;

// The owner-drawn list of a Qe sound list: rows alternate light grey and
// white, the selected row is light green, black text in one line. The
// list reads the shared sound list; it inserts no strings.
class CSoundListBox : public wxVListBox {
public:
    CSoundListBox() = default;
    CSoundListBox(wxWindow* parent, wxWindowID id, const QeSoundList& sounds);
    bool Create(wxWindow* parent, wxWindowID id, const QeSoundList& sounds, long style = 0);

    const QeSoundList* Sounds() const { return sounds_; }

protected:
    void OnDrawItem(wxDC& dc, const wxRect& rect, size_t n) const override;
    void OnDrawBackground(wxDC& dc, const wxRect& rect, size_t n) const override;
    wxCoord OnMeasureItem(size_t n) const override;

private:
    const QeSoundList* sounds_ = nullptr;
};

} // namespace zib
