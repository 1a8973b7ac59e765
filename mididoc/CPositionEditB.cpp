#include "mididoc/CPositionEditB.h"

#include "platform/WxText.h"

#include <wx/sizer.h>
#include <wx/spinbutt.h>
#include <wx/utils.h>

namespace zib {

CPositionEditB::CPositionEditB(wxWindow* parent, int id, const PositionRecord& start, const MeasureContext* context,
                               const wxSize& size)
    : wxTextCtrl(parent, id, wxString(), wxDefaultPosition, size, wxTE_PROCESS_ENTER), model_(start, context)
{
    ChangeValue(wxFromUtf8(model_.StartText()));
    SetMaxLength(long(PositionEditBModel::kLimit));
    // Never narrower than the longest position it takes, whatever the caller asked.
    const int wide = GetSizeFromTextSize(GetTextExtent(wxString('0', PositionEditBModel::kLimit)).x).x;
    if (GetMinSize().x < wide) SetMinSize(wxSize(wide, size.GetHeight()));
    SelectAll();
    spin_ = new wxSpinButton(parent, wxID_ANY, wxDefaultPosition, wxSize(-1, size.GetHeight()),
                             wxSP_VERTICAL | wxSP_ARROW_KEYS);
    spin_->SetRange(0, PositionEditBModel::kSpinMax);
    spin_->SetValue(PositionEditBModel::kSpinMax / 2);
    Bind(wxEVT_CHAR, &CPositionEditB::OnChar, this);
    Bind(wxEVT_TEXT, &CPositionEditB::OnText, this);
    Bind(wxEVT_KILL_FOCUS, &CPositionEditB::OnKillFocus, this);
    // Enter belongs to the dialog's default button.
    Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) {
        wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
        if (wxWindow* button = wxGetTopLevelParent(this)->FindWindow(wxID_OK)) {
            ok.SetEventObject(button);
            button->ProcessWindowEvent(ok);
        }
    });
    spin_->Bind(wxEVT_SPIN_UP, &CPositionEditB::OnSpin, this);
    spin_->Bind(wxEVT_SPIN_DOWN, &CPositionEditB::OnSpin, this);
}

wxSizer* CPositionEditB::WithSpin()
{
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(this, 1, wxALIGN_CENTER_VERTICAL);
    row->Add(spin_, 0, wxALIGN_CENTER_VERTICAL);
    return row;
}

PositionRecord CPositionEditB::GetPosition()
{
    const PositionRecord p = model_.GetPosition(wxToUtf8(GetValue()));
    ChangeValue(wxFromUtf8(FormatPositionText(p)));
    return p;
}

void CPositionEditB::OnChar(wxKeyEvent& event)
{
    const int key = event.GetKeyCode();
    const wxChar c = event.GetUnicodeKey();
    if (key == WXK_RETURN || key == WXK_NUMPAD_ENTER || key == WXK_ESCAPE || key == WXK_TAB || key == WXK_LEFT ||
        key == WXK_RIGHT || key == WXK_HOME || key == WXK_END || key == WXK_DELETE || event.HasModifiers()) {
        event.Skip();
        return;
    }
    if (c != WXK_NONE && PositionEditBModel::AcceptsChar(char32_t(c))) event.Skip();
}

void CPositionEditB::OnText(wxCommandEvent&)
{
    if (auto fix = model_.TextChanged(wxToUtf8(GetValue()))) {
        ChangeValue(wxFromUtf8(fix->text));
        SetInsertionPointEnd();
        if (fix->bell) wxBell();
    }
}

void CPositionEditB::OnSpin(wxSpinEvent& event)
{
    const auto r = model_.Spin(event.GetEventType() == wxEVT_SPIN_UP ? 1 : -1, wxToUtf8(GetValue()));
    ChangeValue(wxFromUtf8(r.text));
    if (r.bell) wxBell();
    event.Veto(); // the button keeps its middle position: one step per press
}

void CPositionEditB::OnKillFocus(wxFocusEvent& event)
{
    model_.FocusLost(wxToUtf8(GetValue()));
    event.Skip();
}

} // namespace zib
