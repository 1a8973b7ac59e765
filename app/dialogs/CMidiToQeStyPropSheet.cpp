#include "app/dialogs/CMidiToQeStyPropSheet.h"

#include "ui/ZibMessageBox.h"
#include "ui/dialogs/SheetButtons.h"
#include "app/dialogs/CQeChordTableSettings.h"
#include "app/dialogs/CQeKeyChordSettings.h"

#include <wx/bookctrl.h>

namespace zib {

CMidiToQeStyPropSheet::CMidiToQeStyPropSheet(wxWindow* parent, const QeConversionValues& values,
                                             ApplyValues<QeConversionValues> apply)
    : values_(values), apply_(std::move(apply))
{
    Create(parent, wxID_ANY, UiTextWx("Midi To Qe-series styles settings"));
    CreateSheetButtons(*this, wxOK | wxCANCEL | wxAPPLY);

    wxBookCtrlBase* book = GetBookCtrl();
    chordTable_ = new CQeChordTableSettings(book, values_.QeChordTable, values_.QeChordDetermination);
    keyChord_ = new CQeKeyChordSettings(book, values_.QeKeyChord, values_.QeKeyChordDetermination);
    book->AddPage(chordTable_, UiTextWx("QE4K Style Chord Table Settings"), true);
    book->AddPage(keyChord_, UiTextWx("CV KeyChord"));
    LayoutDialog();
    Bind(wxEVT_BUTTON, &CMidiToQeStyPropSheet::OnOK, this, wxID_OK);
    Bind(wxEVT_BUTTON, &CMidiToQeStyPropSheet::OnApply, this, wxID_APPLY);
}

void CMidiToQeStyPropSheet::TakePageValues()
{
    chordTable_->OnOK();
    keyChord_->OnOK();
    values_.QeChordDetermination = chordTable_->Model().determination();
    values_.QeChordTable = chordTable_->Model().Letters();
    values_.QeKeyChordDetermination = keyChord_->Model().determination();
    values_.QeKeyChord = keyChord_->Model().Letters();
}

void CMidiToQeStyPropSheet::OnOK(wxCommandEvent&)
{
    TakePageValues();
    EndModal(wxID_OK);
}

// Apply stores what OK stores; the sheet stays open.
void CMidiToQeStyPropSheet::OnApply(wxCommandEvent&)
{
    TakePageValues();
    if (apply_) apply_(values_);
}

} // namespace zib
