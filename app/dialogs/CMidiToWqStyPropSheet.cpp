#include "app/dialogs/CMidiToWqStyPropSheet.h"

#include "ui/ZibMessageBox.h"
#include "ui/dialogs/SheetButtons.h"
#include "app/dialogs/CChordTableSettings.h"
#include "app/dialogs/CKeyChordSettings.h"
#include "app/dialogs/CMidiToStySettings.h"

#include <wx/bookctrl.h>

namespace zib {

CMidiToWqStyPropSheet::CMidiToWqStyPropSheet(wxWindow* parent, const WqConversionValues& values,
                                             ApplyValues<WqConversionValues> apply)
    : values_(values), apply_(std::move(apply))
{
    // The title bar offers context help; without a help system it does nothing.
    SetExtraStyle(GetExtraStyle() | wxDIALOG_EX_CONTEXTHELP);
    Create(parent, wxID_ANY, UiTextWx("Midi To Wq-series styles settings"));
    CreateSheetButtons(*this, wxOK | wxCANCEL | wxAPPLY);

    wxBookCtrlBase* book = GetBookCtrl();
    chordTable_ = new CChordTableSettings(book, values_.ChordTable, values_.ChordDetermination);
    keyChord_ = new CKeyChordSettings(book, values_.KeyChord, values_.KeyChordDetermination);
    ignoreFlags_ = new CMidiToStySettings(book, uint32_t(values_.Midi2StyIgnoreFlags));
    book->AddPage(chordTable_, UiTextWx("Chord Table"), true);
    book->AddPage(keyChord_, UiTextWx("CV KeyChord"));
    book->AddPage(ignoreFlags_, UiTextWx("Ignore flags"));
    LayoutDialog();
    Bind(wxEVT_BUTTON, &CMidiToWqStyPropSheet::OnOK, this, wxID_OK);
    Bind(wxEVT_BUTTON, &CMidiToWqStyPropSheet::OnApply, this, wxID_APPLY);
}

void CMidiToWqStyPropSheet::TakePageValues()
{
    chordTable_->OnOK();
    keyChord_->OnOK();
    ignoreFlags_->OnOK();
    values_.ChordDetermination = chordTable_->Model().determination();
    values_.ChordTable = chordTable_->Model().Letters();
    values_.KeyChordDetermination = keyChord_->Model().determination();
    values_.KeyChord = keyChord_->Model().Letters();
    values_.Midi2StyIgnoreFlags = int(ignoreFlags_->Model().flags);
}

void CMidiToWqStyPropSheet::OnOK(wxCommandEvent&)
{
    TakePageValues();
    EndModal(wxID_OK);
}

// Apply stores what OK stores; the sheet stays open.
void CMidiToWqStyPropSheet::OnApply(wxCommandEvent&)
{
    TakePageValues();
    if (apply_) apply_(values_);
}

} // namespace zib
