#pragma once

#include "app/core/CopyrightDlgModel.h"
#include "ui/dialogs/CZibDialog.h"

class wxTextCtrl;

namespace zib {

// The Copyright dialog (253): asks for the author name at the first start.
class CCopyrightDlg : public CZibDialog {
public:
    explicit CCopyrightDlg(wxWindow* parent);

    // The entered name, without blanks around it (after OK).
    const std::string& Name() const { return model_.name(); }

private:
    void OnOK(wxCommandEvent& event);

    CopyrightDlgModel model_;
    wxTextCtrl* name_ = nullptr;
};

} // namespace zib
