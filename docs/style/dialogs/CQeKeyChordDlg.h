#pragma once

#include "ui/dialogs/CZibDialog.h"

class wxChoice;

namespace zib {

class QeKeyChordDlgModel;

// "QE Pattern Key-Chord Settings": the key and chord of one pattern in one
// list of the 264 key-chord names (1625).
class CQeKeyChordDlg : public CZibDialog {
public:
    static constexpr int kList = 1625;
    CQeKeyChordDlg(wxWindow* parent, QeKeyChordDlgModel& model);

private:
    QeKeyChordDlgModel& model_;
    wxChoice* list_ = nullptr;
};

} // namespace zib
