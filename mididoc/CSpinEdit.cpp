#include "mididoc/CSpinEdit.h"

#include "mididoc/core/MidiPositionTarget.h"
#include "platform/WxText.h"

#include <wx/sizer.h>
#include <wx/spinbutt.h>
#include <wx/textctrl.h>
#include <wx/tooltip.h>

namespace zib {

CSpinEdit::CSpinEdit(wxWindow* parent, int id, TargetSource target, int width)
    : wxControl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE), source_(std::move(target))
{
    text_ = new wxTextCtrl(this, id, wxFromUtf8(model_.Text()), wxDefaultPosition, wxSize(width, -1),
                           wxTE_PROCESS_ENTER);
    // The spin keeps its own height (the toolkit has a minimum for it); the
    // field stretches to the same height beside it.
    spin_ = new wxSpinButton(this, 1419, wxDefaultPosition, wxDefaultSize, wxSP_VERTICAL | wxSP_ARROW_KEYS);
    spin_->SetRange(0, 240);
    spin_->SetValue(120);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(text_, 1, wxEXPAND);
    row->Add(spin_, 0, wxALIGN_CENTER_VERTICAL);
    SetSizerAndFit(row);
    text_->Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& e) {
        editing_ = true;
        text_->SelectAll();
        e.Skip();
    });
    text_->Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& e) {
        Commit();
        e.Skip();
    });
    text_->Bind(wxEVT_CHAR, [](wxKeyEvent& e) {
        const int key = e.GetKeyCode();
        const wxChar c = e.GetUnicodeKey();
        if (key == WXK_TAB || key == WXK_LEFT || key == WXK_RIGHT || key == WXK_DELETE || e.HasModifiers() ||
            (c != WXK_NONE && SpinEditModel::AcceptsChar(char32_t(c))))
            e.Skip();
    });
    text_->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) {
        Commit();
        if (MidiPositionTarget* target = source_ ? source_() : nullptr) target->TakeFocus();
    });
    auto spin = [this](wxSpinEvent& e) {
        e.Veto();
        text_->ChangeValue(wxFromUtf8(model_.Spin(e.GetEventType() == wxEVT_SPIN_UP ? 1 : -1,
                                                  wxToUtf8(text_->GetValue()))));
    };
    spin_->Bind(wxEVT_SPIN_UP, spin);
    spin_->Bind(wxEVT_SPIN_DOWN, spin);
}

void CSpinEdit::DoSetToolTip(wxToolTip* tip)
{
    const wxString text = tip ? tip->GetTip() : wxString();
    delete tip;
    text_->SetToolTip(text);
    spin_->SetToolTip(text);
}

void CSpinEdit::ShowTempo(int bpm)
{
    if (editing_) return;
    model_.SetValue(bpm);
    text_->ChangeValue(wxFromUtf8(model_.Text()));
}

void CSpinEdit::Commit()
{
    if (!editing_) return;
    editing_ = false;
    const auto commit = model_.FocusLost(wxToUtf8(text_->GetValue()));
    text_->ChangeValue(wxFromUtf8(commit.text));
    if (!commit.tempo) return;
    if (MidiPositionTarget* target = source_ ? source_() : nullptr) target->ChangeTempo(*commit.tempo);
}

} // namespace zib
