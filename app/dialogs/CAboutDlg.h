#pragma once

#include "ui/dialogs/CZibDialog.h"

namespace zib {

// The About box (dialog 100): the program's name, release and copyright.
class CAboutDlg : public CZibDialog {
public:
    explicit CAboutDlg(wxWindow* parent);

    // "Release: %s" with the program's version.
    static wxString ReleaseText();
};

} // namespace zib
