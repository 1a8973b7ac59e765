#pragma once

#include "ui/dialogs/CZibDialog.h"
#include "docs/program/core/ArgGlobalDlgModel.h"
#include "docs/program/dialogs/CDialogControls.h"

#include <initializer_list>
#include <memory>

namespace zib {

// What the arrangement-global dialogs of both models share: the channel
// list (1311, fixed-pitch) in the group "Midi Channels", whose double click
// opens "Midi Channel", the switches of the model's dialog beside it, and OK,
// which hands the controls to the model. CArgGlobalWqR65Dlg and
// CArgGlobalWq41Dlg group the switches of their model.
class CArgGlobalDlg : public CZibDialog {
protected:
    CArgGlobalDlg(wxWindow* parent, ArgGlobalDlgModel& model);

    // A titled group of switch rows.
    wxSizer* Group(const wxString& title, std::initializer_list<int> ids);
    // The channel list beside `switches`, then OK and Cancel.
    void Arrange(wxSizer* switches);

private:
    void EditChannel(int line);

    ArgGlobalDlgModel& model_;
    std::unique_ptr<CDialogControls> controls_;
};

} // namespace zib
