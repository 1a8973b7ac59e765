#pragma once

#include "ui/dialogs/CZibDialog.h"
#include "mididoc/core/PositionDlgModels.h"

class wxChoice;
class wxSpinButton;
class wxSpinEvent;
class wxTextCtrl;

namespace zib {

class CPositionEditB;

// "Go To dialog" (269): one bar:beat:tick position.
class CGoToDlg : public CZibDialog {
public:
    CGoToDlg(wxWindow* parent, PositionRecord& position, const MeasureContext* context);

private:
    PositionRecord& position_;
    const MeasureContext* context_;
    CPositionEditB* field_ = nullptr;
};

// "Set From/Thru position" (271): a from and a thru position.
class CFromThruPosDlg : public CZibDialog {
public:
    CFromThruPosDlg(wxWindow* parent, PositionRecord& from, PositionRecord& thru,
                    const MeasureContext* context);

private:
    PositionRecord& from_;
    PositionRecord& thru_;
    const MeasureContext* context_;
    CPositionEditB* fromField_ = nullptr;
    CPositionEditB* thruField_ = nullptr;
};

// "Get MIDI Transpose Value" (183): a signed transpose amount.
class CTransposeValueDlg : public CZibDialog {
public:
    CTransposeValueDlg(wxWindow* parent, TransposeValueDlgModel& model);

private:
    TransposeValueDlgModel& model_;
    wxTextCtrl* edit_ = nullptr;
};

// "Time Signature" (248): measure, beats per measure and beat value.
class CTimeSignatureDlg : public CZibDialog {
public:
    CTimeSignatureDlg(wxWindow* parent, TimeSignatureDlgModel& model);

private:
    TimeSignatureDlgModel& model_;
    wxTextCtrl* measure_ = nullptr;
    wxTextCtrl* beats_ = nullptr;
    wxChoice* beatValue_ = nullptr;
};

// The in-place value editor (272): a modeless box over a list cell that edits
// one value lower..upper. When the value changed, the owner receives
// EVT_ZIB_POSITION_VALUE with the value and row | column << 16. The window
// goes by itself when it loses the focus, on Enter and on Escape.
class CPositionDlg : public wxDialog {
public:
    // `cell` in screen coordinates.
    static CPositionDlg* Open(wxWindow* owner, int value, int lower, int upper, const wxRect& cell, int row,
                              int column);

    const PositionValueDlgModel& Model() const { return model_; }

private:
    CPositionDlg(wxWindow* owner, int value, int lower, int upper, const wxRect& cell, int row, int column);
    void OnText(wxCommandEvent& event);
    void OnSpin(wxSpinEvent& event);
    void OnKillFocus(wxFocusEvent& event);
    void OnKey(wxKeyEvent& event);
    void Commit();
    void EndEdit(bool cancel);

    wxWindow* owner_;
    PositionValueDlgModel model_;
    int row_, column_;
    wxTextCtrl* edit_ = nullptr;
    wxSpinButton* spin_ = nullptr;
    bool done_ = false;
};

} // namespace zib
