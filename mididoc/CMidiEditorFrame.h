#pragma once

#include "ui/CZibMdiChild.h"
#include "mididoc/core/MidiCommandState.h"

class wxUpdateUIEvent;

namespace zib {

class CZibMidWxDoc;

// Base of the editor windows of a MIDI document (the whole-file event editor
// and the tempo-track editor): they show the document menu, belong to the
// document, and enable their commands by MidiCommandState.
class CMidiEditorFrame : public CZibMdiChild {
public:
    int MenuTemplateId() const override;
    wxDocument* OwnerDocument() const override;

    // The document closes the editor: its list goes at once, so nothing
    // painted or queued for it reaches the document, which goes before the
    // frame does.
    void DetachDocument();

    // Shows a command's state on the event's menu item (check mark) or tool
    // button (pressed); a command the window does not take goes on.
    static void ShowState(wxUpdateUIEvent& event, const MidiCommandUi& ui);

protected:
    CMidiEditorFrame(ZibMdiParentFrame* parent, CZibMidWxDoc& doc, const wxString& title);
    // A command the editor does not take itself: the document's commands as
    // in the MIDI window (Set Thru at the exact position) when the editor
    // lists them, then the document's own handlers (dumps, conversions,
    // saving).
    void RunDocumentCommand(wxCommandEvent& event, int command);
    // ShowState, with the document's commands the editor does not list greyed
    void ShowEditorState(wxUpdateUIEvent& event, const MidiCommandUi& ui);

    // The window's list over the document, destroyed when the document goes
    virtual void DropList() = 0;
    // The window stops being the active one
    virtual void Deactivated() {}
    bool DocumentAlive() const { return m_documentAlive; }

    CZibMidWxDoc& m_doc;

private:
    void OnActivate(wxActivateEvent& event);

    bool m_documentAlive = true;
};

} // namespace zib
