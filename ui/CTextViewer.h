#pragma once

#include "ui/CZibMdiChild.h"

#include <cstdint>
#include <string>
#include <wx/textctrl.h>

class wxDocument;

namespace zib {

// An MDI child that shows a text file (a conversion log or a report) in a
// read-only, fixed-pitch text control.
class CTextViewer : public CZibMdiChild {
public:
    // The opener's two values are kept with the viewer; `midiWindow` 1 makes
    // the main frame treat the viewer as a MIDI window.
    CTextViewer(uint8_t* openerFlag, wxDocument* openerDocument, uint32_t midiWindow);

    // Creates the window as a child of the main frame; false when it cannot.
    bool Create(ZibMdiParentFrame* parent, const wxString& title);

    // Makes the text control over the whole client area: 0, or 1 when it cannot be made.
    int CreateTextCtrl();

    // Shows the file; false (window unchanged) when it cannot be opened, sized
    // or held. The title becomes the title prefix followed by the path.
    virtual bool LoadFile(std::string path);

    wxTextCtrl* TextCtrl() const { return text_; }
    uint8_t* OpenerFlag() const { return openerFlag_; }
    wxDocument* OpenerDocument() const { return openerDocument_; }
    void SetTitlePrefix(const wxString& prefix) { titlePrefix_ = prefix; }

    // CZibMdiChild
    ChildKind Kind() const override { return ChildKind::TextViewer; }
    bool IsMidiWindow() const override { return midiWindow_ == 1; }

private:
    void OnSize(wxSizeEvent& event);

    wxTextCtrl* text_ = nullptr;
    wxString titlePrefix_;
    uint8_t* openerFlag_;
    wxDocument* openerDocument_;
    uint32_t midiWindow_;
};

} // namespace zib
