#include "mididoc/CEventCellEditor.h"

#include "platform/WxText.h"

#include <wx/textctrl.h>
#include <wx/utils.h>

namespace zib {

CEventCellEditor::CEventCellEditor(EventCellEditModel model, Commit commit)
    : m_model(std::move(model)), m_commit(std::move(commit))
{
}

wxTextCtrl* CEventCellEditor::Text() const
{
    return static_cast<wxTextCtrl*>(GetWindow());
}

void CEventCellEditor::Create(wxWindow* parent, wxWindowID id, wxEvtHandler* handler)
{
    auto* text = new wxTextCtrl(parent, id, wxString(), wxDefaultPosition, wxDefaultSize,
                                wxTE_PROCESS_ENTER | wxBORDER_SIMPLE | (m_model.ReadOnly() ? wxTE_READONLY : 0));
    if (m_model.Limit() > 0) text->SetMaxLength(long(m_model.Limit()));
    SetWindow(text);
    text->Bind(wxEVT_CHAR, &CEventCellEditor::OnChar, this);
    text->Bind(wxEVT_KEY_DOWN, &CEventCellEditor::OnKeyDown, this);
    text->Bind(wxEVT_TEXT, &CEventCellEditor::OnText, this);
    wxGridCellEditor::Create(parent, id, handler);
    // Ahead of the grid's own handling of the text's focus loss, which ends the edit
    if (handler) handler->Bind(wxEVT_KILL_FOCUS, &CEventCellEditor::OnKillFocus, this);
}

void CEventCellEditor::OnKillFocus(wxFocusEvent& event)
{
    // The focus going to another window (of this program or another) ends
    // the edit with the value typed; a text that does not parse stays in
    // the open cell, to be mended or dropped with Escape on the way back.
    if (!m_keepOpen && Parses()) event.Skip();
}

void CEventCellEditor::BeginEdit(int, int, wxGrid*)
{
    m_cancelled = false;
    wxTextCtrl* text = Text();
    text->ChangeValue(wxFromUtf8(m_model.Text()));
    text->SetFocus();
    if (m_model.SelectAll())
        text->SelectAll();
    else
        text->SetInsertionPointEnd();
}

bool CEventCellEditor::EndEdit(int, int, const wxGrid*, const wxString&, wxString* newValue)
{
    // A text that does not parse is never taken as 0: the roads that end
    // the edit stop at it first, and what still ends it (the list going
    // away) drops it.
    if (m_cancelled || !Parses()) return false;
    m_committedText = Text()->GetValue();
    m_result = m_model.Ok(wxToUtf8(m_committedText));
    if (newValue) *newValue = m_committedText;
    return true;
}

void CEventCellEditor::ApplyEdit(int, int, wxGrid*)
{
    if (m_result && m_commit) m_commit(*m_result, wxToUtf8(m_committedText));
    m_result.reset();
}

void CEventCellEditor::Reset()
{
    m_cancelled = true;
    Text()->ChangeValue(wxFromUtf8(m_model.Text()));
}

bool CEventCellEditor::Parses() const
{
    return !GetWindow() || m_model.Parses(wxToUtf8(Text()->GetValue()));
}

wxGridCellEditor* CEventCellEditor::Clone() const
{
    return new CEventCellEditor(m_model, m_commit);
}

wxString CEventCellEditor::GetValue() const
{
    return Text()->GetValue();
}

void CEventCellEditor::OnChar(wxKeyEvent& event)
{
    const int key = event.GetKeyCode();
    if (key == WXK_ESCAPE || key == WXK_TAB || key == WXK_LEFT || key == WXK_RIGHT || key == WXK_HOME ||
        key == WXK_END || key == WXK_DELETE || event.HasModifiers()) {
        event.Skip();
        return;
    }
    const wxChar c = event.GetUnicodeKey();
    if (c == WXK_NONE || m_model.AcceptsChar(char32_t(c == WXK_RETURN ? '\r' : c))) event.Skip();
}

void CEventCellEditor::OnKeyDown(wxKeyEvent& event)
{
    // Up and Down are the spin button's steps.
    const int key = event.GetKeyCode();
    if ((key == WXK_UP || key == WXK_DOWN) && m_model.HasSpin()) {
        wxTextCtrl* text = Text();
        text->ChangeValue(wxFromUtf8(m_model.Spin(key == WXK_UP ? 1 : -1, wxToUtf8(text->GetValue()))));
        text->SetInsertionPointEnd();
        return;
    }
    event.Skip();
}

void CEventCellEditor::OnText(wxCommandEvent& event)
{
    event.Skip();
    wxTextCtrl* text = Text();
    if (auto fix = m_model.TextChanged(wxToUtf8(text->GetValue()))) {
        text->ChangeValue(wxFromUtf8(fix->text));
        text->SetInsertionPointEnd();
        if (fix->bell) wxBell();
    }
}

} // namespace zib
