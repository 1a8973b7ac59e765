#include "app/dialogs/CMidiToQeStyPropSheet.h"

#include "app/ZibMessageBox.h"
#include "app/dialogs/CQeChordTableSettings.h"
#include "app/dialogs/CQeKeyChordSettings.h"

#include <wx/bookctrl.h>

namespace zib {

CMidiToQeStyPropSheet::CMidiToQeStyPropSheet(wxWindow* parent, const QeConversionValues& values)
    : values_(values)
{
    Create(parent, wxID_ANY, UiTextWx("Midi To Qe-series styles settings"));
    CreateButtons(wxOK | wxCANCEL);
    // The buttons speak the program's language, not the system's.
    FindWindow(wxID_OK)->SetLabel(UiTextWx("OK"));
    FindWindow(wxID_CANCEL)->SetLabel(UiTextWx("Cancel"));

    wxBookCtrlBase* book = GetBookCtrl();
    chordTable_ = new CQeChordTableSettings(book, values_.QeChordTable, values_.QeChordDetermination);
    keyChord_ = new CQeKeyChordSettings(book, values_.QeKeyChord, values_.QeKeyChordDetermination);
    book->AddPage(chordTable_, UiTextWx("QE4K Style Chord Table Settings"), true);
    book->AddPage(keyChord_, UiTextWx("CV KeyChord"));
    LayoutDialog();
    Bind(wxEVT_BUTTON, &CMidiToQeStyPropSheet::OnOK, this, wxID_OK);
}

void CMidiToQeStyPropSheet::OnOK(wxCommandEvent&)
{
    chordTable_->OnOK();
    keyChord_->OnOK();
    values_.QeChordDetermination = chordTable_->Model().determination();
    values_.QeChordTable = chordTable_->Model().Letters();
    values_.QeKeyChordDetermination = keyChord_->Model().determination();
    values_.QeKeyChord = keyChord_->Model().Letters();
    EndModal(wxID_OK);
}

} // namespace zib
