#include "mididoc/dialogs/CPositionDialogs.h"

#include "mididoc/CPositionEditB.h"

#include "platform/AppEvents.h"
#include "platform/WxText.h"

#include <algorithm>

#include <wx/choice.h>
#include <wx/spinbutt.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace zib {

namespace {

// A number edit with its spin button; the spin sets the edit's number.
wxSizer* spinEdit(wxWindow* parent, wxTextCtrl*& edit, int editId, int spinId, int lo, int hi, int value)
{
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    edit = new wxTextCtrl(parent, editId, wxString::Format("%d", value), wxDefaultPosition, wxSize(60, -1));
    auto* spin =
        new wxSpinButton(parent, spinId, wxDefaultPosition, wxDefaultSize, wxSP_VERTICAL | wxSP_ARROW_KEYS);
    spin->SetRange(lo, hi);
    spin->SetValue(std::clamp(value, lo, hi));
    wxTextCtrl* target = edit;
    spin->Bind(wxEVT_SPIN,
               [target](wxSpinEvent& e) { target->SetValue(wxString::Format("%d", e.GetPosition())); });
    row->Add(edit, 1);
    row->Add(spin, 0, wxLEFT, 2);
    return row;
}

} // namespace

CGoToDlg::CGoToDlg(wxWindow* parent, PositionRecord& position, const MeasureContext* context)
    : CZibDialog(parent, "Go To dialog"), position_(position), context_(context)
{
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(this, 1048, T("Enter new M:B:T position:")), 0,
             wxALIGN_CENTER_VERTICAL | wxRIGHT, 10);
    field_ = new CPositionEditB(this, 1812, position_, context_);
    row->Add(field_->WithSpin());
    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(row, 0, wxBOTTOM, 10);
    FinishOkCancel(content, [this] { position_ = field_->GetPosition(); });
    field_->SetFocus();
}

CFromThruPosDlg::CFromThruPosDlg(wxWindow* parent, PositionRecord& from, PositionRecord& thru,
                                 const MeasureContext* context)
    : CZibDialog(parent, "Set From/Thru position"), from_(from), thru_(thru), context_(context)
{
    auto* grid = new wxFlexGridSizer(2, 6, 10);
    grid->Add(new wxStaticText(this, 1048, T("Set From position:")), 0, wxALIGN_CENTER_VERTICAL);
    fromField_ = new CPositionEditB(this, 1812, from_, context_);
    grid->Add(fromField_->WithSpin());
    grid->Add(new wxStaticText(this, 1047, T("Set Thru position:")), 0, wxALIGN_CENTER_VERTICAL);
    thruField_ = new CPositionEditB(this, 1766, thru_, context_);
    grid->Add(thruField_->WithSpin());
    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(grid, 0, wxBOTTOM, 10);
    FinishOkCancel(content, [this] {
        from_ = fromField_->GetPosition();
        thru_ = thruField_->GetPosition();
    });
}

CTransposeValueDlg::CTransposeValueDlg(wxWindow* parent, TransposeValueDlgModel& model)
    : CZibDialog(parent, "Get MIDI Transpose Value"), model_(model)
{
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(this, wxID_ANY, T("Transpose value:")), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT,
             8);
    row->Add(
        spinEdit(this, edit_, 1549, 1419, TransposeValueDlgModel::kMin, TransposeValueDlgModel::kMax, 0));
    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(row, 0, wxBOTTOM, 10);
    FinishOkCancel(content, [this] { model_.Ok(wxToUtf8(edit_->GetValue())); });
}

CTimeSignatureDlg::CTimeSignatureDlg(wxWindow* parent, TimeSignatureDlgModel& model)
    : CZibDialog(parent, "Time Signature"), model_(model)
{
    wxArrayString values;
    for (int v : TimeSignatureDlgModel::kBeatValues)
        values.push_back(wxString::Format("%d", v));
    beatValue_ = new wxChoice(this, 1904, wxDefaultPosition, wxDefaultSize, values);
    beatValue_->SetSelection(model_.BeatValueEntry());
    auto* grid = new wxFlexGridSizer(2, 6, 10);
    grid->Add(new wxStaticText(this, wxID_ANY, T("Measure:")), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(
        spinEdit(this, measure_, 1902, 1419, 1, TimeSignatureDlgModel::kMaxMeasure, int(model_.measure) + 1));
    grid->Add(new wxStaticText(this, wxID_ANY, T("Beats per measure:")), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(
        spinEdit(this, beats_, 1903, 1420, 1, TimeSignatureDlgModel::kMaxBeats, model_.beatsPerMeasure));
    grid->Add(new wxStaticText(this, wxID_ANY, T("Beat value:")), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(beatValue_);
    measure_->ChangeValue(wxFromUtf8(model_.MeasureText()));
    if (model_.measureFixed) {
        measure_->Disable();
        FindWindow(1419)->Disable();
    }
    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(grid, 0, wxBOTTOM, 10);
    FinishOkCancel(content, [this] {
        model_.Ok(wxToUtf8(measure_->GetValue()), wxToUtf8(beats_->GetValue()),
                  beatValue_->GetSelection());
    });
}

CPositionDlg* CPositionDlg::Open(wxWindow* owner, int value, int lower, int upper, const wxRect& cell,
                                 int row, int column)
{
    auto* dlg = new CPositionDlg(owner, value, lower, upper, cell, row, column);
    dlg->Show();
    dlg->edit_->SetFocus();
    dlg->edit_->SelectAll();
    dlg->model_.Initialised();
    return dlg;
}

CPositionDlg::CPositionDlg(wxWindow* owner, int value, int lower, int upper, const wxRect& cell, int row,
                           int column)
    : wxDialog(owner, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, wxBORDER_SIMPLE), owner_(owner),
      model_(value, lower, upper), row_(row), column_(column)
{
    edit_ = new wxTextCtrl(this, 1766, wxString::Format("%d", value), wxDefaultPosition, wxDefaultSize,
                           wxTE_PROCESS_ENTER | wxBORDER_NONE);
    edit_->SetFont(owner ? owner->GetFont() : GetFont());
    // The spin is never made smaller than the toolkit lets it be: the box
    // grows around it instead.
    spin_ = new wxSpinButton(this, 1419, wxDefaultPosition, wxDefaultSize, wxSP_VERTICAL);
    const wxSize spin = spin_->GetBestSize();
    const auto l = PositionValueDlgModel::Place({cell.x, cell.y, cell.width, cell.height},
                                                std::max(spin.x, PositionValueDlgModel::kSpinWidth),
                                                std::max(spin.y, PositionValueDlgModel::kSpinHeight));
    SetSize(l.dialog.x, l.dialog.y, l.dialog.width, l.dialog.height);
    edit_->SetSize(l.edit.x, l.edit.y, l.edit.width, l.edit.height);
    spin_->SetSize(l.spin.x, l.spin.y, l.spin.width, l.spin.height);
    spin_->SetRange(lower, upper);
    spin_->SetValue(std::clamp(value, lower, upper));
    edit_->Bind(wxEVT_TEXT, &CPositionDlg::OnText, this);
    edit_->Bind(wxEVT_KILL_FOCUS, &CPositionDlg::OnKillFocus, this);
    edit_->Bind(wxEVT_CHAR_HOOK, &CPositionDlg::OnKey, this);
    spin_->Bind(wxEVT_SPIN, &CPositionDlg::OnSpin, this);
}

void CPositionDlg::OnText(wxCommandEvent&)
{
    if (auto back = model_.EditChanged(wxToUtf8(edit_->GetValue()))) {
        edit_->ChangeValue(wxFromUtf8(*back));
        edit_->SetInsertionPointEnd();
    }
    if (auto v = ParseDialogInt(wxToUtf8(edit_->GetValue())))
        spin_->SetValue(std::clamp(int(*v), model_.lower(), model_.upper()));
}

void CPositionDlg::OnSpin(wxSpinEvent& event)
{
    edit_->ChangeValue(wxString::Format("%d", event.GetPosition()));
}

void CPositionDlg::OnKillFocus(wxFocusEvent& event)
{
    event.Skip();
    // The box belongs to the cell: leaving it commits and closes it.
    if (!done_) CallAfter([this] { EndEdit(false); });
}

void CPositionDlg::OnKey(wxKeyEvent& event)
{
    if (event.GetKeyCode() == WXK_RETURN || event.GetKeyCode() == WXK_NUMPAD_ENTER)
        EndEdit(false);
    else if (event.GetKeyCode() == WXK_ESCAPE)
        EndEdit(true);
    else
        event.Skip();
}

void CPositionDlg::Commit()
{
    // What the spin shows is the value: the typed text has already moved it
    // within the bounds ("-5" shows 0, never 251 cut to 127).
    if (model_.Commit(spin_->GetValue()) && owner_) {
        wxCommandEvent changed(EVT_ZIB_POSITION_VALUE);
        changed.SetInt(model_.value());
        changed.SetExtraLong(long((row_ & 0xFFFF) | (column_ << 16)));
        wxPostEvent(owner_, changed);
    }
}

void CPositionDlg::EndEdit(bool cancel)
{
    if (done_) return;
    done_ = true;
    if (cancel)
        model_.Cancel();
    else
        Commit();
    Destroy();
}

} // namespace zib
