#include "app/dialogs/CStyToMidiMethodDlg.h"

#include <wx/radiobut.h>

namespace zib {

CStyToMidiMethodDlg::CStyToMidiMethodDlg(wxWindow* parent, StyToMidiMethodDlgModel& model)
    : CZibDialog(parent, "Select Style To MIDI conversion metod"), model_(model)
{
    auto* content = new wxBoxSizer(wxVERTICAL);
    auto* one = new wxRadioButton(this, StyToMidiMethodDlgModel::kOneFileRadio,
                                  T("Convert style to one collected MIDI file"), wxDefaultPosition,
                                  wxDefaultSize, wxRB_GROUP);
    auto* multiple = new wxRadioButton(this, StyToMidiMethodDlgModel::kMultipleFilesRadio,
                                       T("Convert style to multiple CV MIDI files"));
    content->Add(one, 0, wxBOTTOM, 4);
    content->Add(multiple, 0, wxBOTTOM, 10);
    FinishOkCancel(content, [this, one] {
        model_.Ok(one->GetValue() ? StyToMidiMethodDlgModel::kOneFileRadio
                                  : StyToMidiMethodDlgModel::kMultipleFilesRadio);
    });
    (model_.CheckedAtStart() == StyToMidiMethodDlgModel::kMultipleFilesRadio ? multiple : one)
        ->SetValue(true);
}

} // namespace zib
