#pragma once

#include "ui/MdiFrameTypes.h"
#include "ui/core/ChildKind.h"
#include "ui/core/MenuModel.h"
#include "ui/core/StatusPanes.h"

#include <functional>

class wxDocument;

namespace zib {

// Base of every MDI child window of the main frame. The main frame picks its
// toolbars, status texts, menu and toolbar places by what the active child
// reports here; it notices a change of the active child by itself.
class CZibMdiChild : public ZibMdiChildFrame {
public:
    CZibMdiChild() = default;
    CZibMdiChild(ZibMdiParentFrame* parent, wxWindowID id, const wxString& title,
                 const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                 long style = wxDEFAULT_FRAME_STYLE, const wxString& name = wxASCII_STR(wxFrameNameStr));
    ~CZibMdiChild() override;
    // Makes the window a page of the main frame's notebook, in the notebook's page area.
    bool Create(ZibMdiParentFrame* parent, wxWindowID id, const wxString& title,
                const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                long style = wxDEFAULT_FRAME_STYLE, const wxString& name = wxASCII_STR(wxFrameNameStr));

    // What the window is
    virtual ChildKind Kind() const { return ChildKind::Other; }
    // A text viewer that shows a MIDI-related report counts as a MIDI window.
    virtual bool IsMidiWindow() const { return false; }
    // The document template whose menu the frame shows while active (0: the main menu).
    virtual int MenuTemplateId() const { return 0; }
    // A menu of the window's own (the track editors'), shown under its
    // MenuTemplateId instead of a template's menu; null: the template's.
    virtual const MenuBarDef* OwnMenu() const { return nullptr; }
    // The document the window shows (null: none)
    virtual wxDocument* OwnerDocument() const { return nullptr; }
    // Its title, which the main window's title names while the window is
    // active, marked "*" while it has unsaved changes (empty: no document,
    // or one that is going)
    wxString DocumentTitle() const;

    // Titles
    // The window's title names `doc`: `rule` makes it from the document's
    // name, now and again whenever the document takes a new name.
    using TitleRule = std::function<wxString(const wxString& documentName)>;
    void TitleAfter(const wxDocument& doc, TitleRule rule);
    // Makes the title again (what the rule reads besides the name changed).
    void Retitle();
    // The document's name changed (Save As): every window titled after it
    // takes the new name.
    static void RetitleWindowsOf(const wxDocument& doc);

    // What the status panes show while the window is active; the default
    // reports only the kind.
    virtual void FillStatus(ChildStatus& status) const { status.kind = Kind(); }

#ifdef __WXGTK__
    // The window is a page of the main frame's notebook, not a top-level
    // window of its own: it is realized as a plain window (the top-level
    // handling would take its widget for a GTK window).
    void GTKHandleRealized() override { wxWindow::GTKHandleRealized(); }
#endif

private:
    const wxDocument* titleDocument_ = nullptr;
    TitleRule titleRule_;
};

} // namespace zib
