#include "mididoc/CMidiEditorFrame.h"

#include "mididoc/CChildSplitterMidFrame.h"
#include "mididoc/CZibMidWxDoc.h"
#include "ui/core/CommandIds.h"

#include <wx/aui/auibar.h>

namespace zib {

namespace {
constexpr int kMidiTemplateId = 117;
} // namespace

CMidiEditorFrame::CMidiEditorFrame(ZibMdiParentFrame* parent, CZibMidWxDoc& doc, const wxString& title)
    : CZibMdiChild(parent, wxID_ANY, title), m_doc(doc)
{
    Bind(wxEVT_ACTIVATE, &CMidiEditorFrame::OnActivate, this);
}

void CMidiEditorFrame::OnActivate(wxActivateEvent& event)
{
    event.Skip();
    if (!m_documentAlive) return;
    // The MIDI bars show the document's position, markers and tempo.
    if (event.GetActive())
        CChildSplitterMidFrame::ShowTransport(m_doc);
    else
        Deactivated();
}

int CMidiEditorFrame::MenuTemplateId() const
{
    return kMidiTemplateId;
}

wxDocument* CMidiEditorFrame::OwnerDocument() const
{
    return &m_doc;
}

void CMidiEditorFrame::DetachDocument()
{
    m_documentAlive = false;
    DropList();
}

void CMidiEditorFrame::RunDocumentCommand(wxCommandEvent& event, int command)
{
    if (CChildSplitterMidFrame::IsDocumentCommand(command)) {
        // Only the ones this window lists; the others stay greyed here.
        if (MidiCommandState(command, Kind(), MidiCommandContext{}).routed)
            CChildSplitterMidFrame::RunDocumentCommand(m_doc, command, true);
        return;
    }
    if (!m_doc.ProcessEvent(event)) event.Skip();
}

void CMidiEditorFrame::ShowEditorState(wxUpdateUIEvent& event, const MidiCommandUi& ui)
{
    if (!ui.routed && CChildSplitterMidFrame::IsDocumentCommand(cmd::FromWxId(event.GetId())))
        event.Enable(false);
    else
        ShowState(event, ui);
}

void CMidiEditorFrame::ShowState(wxUpdateUIEvent& event, const MidiCommandUi& ui)
{
    if (!ui.routed) {
        event.Skip();
        return;
    }
    event.Enable(ui.enabled);
    if (event.IsCheckable()) {
        // A menu item shows the check mark, a tool button its pressed state.
        const bool onToolbar = dynamic_cast<wxAuiToolBar*>(event.GetEventObject()) != nullptr;
        event.Check(onToolbar ? ui.pressed : ui.checked);
    }
}

} // namespace zib
