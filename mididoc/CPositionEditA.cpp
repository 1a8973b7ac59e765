#include "mididoc/CPositionEditA.h"

#include "mididoc/core/MidiPositionTarget.h"
#include "platform/WxText.h"

#include <wx/sizer.h>
#include <wx/spinbutt.h>
#include <wx/textctrl.h>
#include <wx/tooltip.h>

namespace zib {

CPositionEditA::CPositionEditA(wxWindow* parent, int id, PositionEditAModel::Mode mode, TargetSource target, int width)
    : wxControl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE), model_(mode), source_(std::move(target))
{
    text_ = new wxTextCtrl(this, id, wxString(), wxDefaultPosition, wxSize(width, -1), wxTE_PROCESS_ENTER);
    // The spin keeps its own height (the toolkit has a minimum for it); the
    // field stretches to the same height beside it.
    spin_ = new wxSpinButton(this, 1419, wxDefaultPosition, wxDefaultSize, wxSP_VERTICAL | wxSP_ARROW_KEYS);
    spin_->SetRange(0, PositionEditAModel::kSpinMax);
    spin_->SetValue(PositionEditAModel::kSpinMax / 2);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(text_, 1, wxEXPAND);
    row->Add(spin_, 0, wxALIGN_CENTER_VERTICAL);
    SetSizerAndFit(row);
    text_->Bind(wxEVT_SET_FOCUS, &CPositionEditA::OnSetFocus, this);
    text_->Bind(wxEVT_KILL_FOCUS, &CPositionEditA::OnKillFocus, this);
    text_->Bind(wxEVT_CHAR_HOOK, &CPositionEditA::OnCharHook, this);
    text_->Bind(wxEVT_CHAR, &CPositionEditA::OnChar, this);
    spin_->Bind(wxEVT_SPIN_UP, &CPositionEditA::OnSpin, this);
    spin_->Bind(wxEVT_SPIN_DOWN, &CPositionEditA::OnSpin, this);
}

void CPositionEditA::DoSetToolTip(wxToolTip* tip)
{
    const wxString text = tip ? tip->GetTip() : wxString();
    delete tip;
    text_->SetToolTip(text);
    spin_->SetToolTip(text);
}

void CPositionEditA::ShowText(const wxString& text)
{
    if (!target_ && text_->GetValue() != text) text_->ChangeValue(text);
}

void CPositionEditA::OnSetFocus(wxFocusEvent& event)
{
    event.Skip();
    target_ = source_ ? source_() : nullptr;
    if (!target_) return;
    uint32_t tick = target_->CurrentTick();
    if (model_.GetMode() == PositionEditAModel::Mode::From) tick = target_->FromTick();
    if (model_.GetMode() == PositionEditAModel::Mode::Thru) tick = target_->ThruTick();
    text_->ChangeValue(wxFromUtf8(model_.FocusGained(tick, target_->Measures())));
    text_->SelectAll();
}

void CPositionEditA::Commit()
{
    MidiPositionTarget* target = target_;
    target_ = nullptr;
    if (!target) return;
    const auto commit = model_.FocusLost(wxToUtf8(text_->GetValue()), target->Measures());
    text_->ChangeValue(wxFromUtf8(commit.text));
    if (!commit.tick) return;
    switch (model_.GetMode()) {
    case PositionEditAModel::Mode::Current:
        target->GoToTick(*commit.tick);
        break;
    case PositionEditAModel::Mode::From:
        target->SetFromTick(*commit.tick);
        break;
    case PositionEditAModel::Mode::Thru:
        target->SetThruTick(*commit.tick);
        break;
    }
}

void CPositionEditA::OnKillFocus(wxFocusEvent& event)
{
    Commit();
    event.Skip();
}

void CPositionEditA::OnCharHook(wxKeyEvent& event)
{
    const int key = event.GetKeyCode();
    if (key == WXK_ESCAPE) model_.Cancel();
    if (key == WXK_ESCAPE || key == WXK_RETURN || key == WXK_NUMPAD_ENTER) {
        // Enter commits, Escape restores; either way the MIDI window gets the focus back.
        MidiPositionTarget* target = target_;
        Commit();
        if (target) target->TakeFocus();
        return;
    }
    event.Skip();
}

void CPositionEditA::OnChar(wxKeyEvent& event)
{
    const int key = event.GetKeyCode();
    if (key == WXK_TAB || key == WXK_LEFT || key == WXK_RIGHT || key == WXK_HOME || key == WXK_END ||
        key == WXK_DELETE || event.HasModifiers()) {
        event.Skip();
        return;
    }
    const wxChar c = event.GetUnicodeKey();
    if (c != WXK_NONE && PositionEditAModel::AcceptsChar(char32_t(c))) event.Skip();
}

void CPositionEditA::OnSpin(wxSpinEvent& event)
{
    event.Veto();
    MidiPositionTarget* target = target_ ? target_ : (source_ ? source_() : nullptr);
    if (!target) return;
    const int step = event.GetEventType() == wxEVT_SPIN_UP ? 1 : -1;
    text_->ChangeValue(wxFromUtf8(model_.Spin(step, wxToUtf8(text_->GetValue()), target->Measures())));
}

} // namespace zib
