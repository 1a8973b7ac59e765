#include "docs/program/dialogs/CArgGlobalWqR65Dlg.h"

#include <wx/sizer.h>

namespace zib {

CArgGlobalWqR65Dlg::CArgGlobalWqR65Dlg(wxWindow* parent, ArgGlobalDlgModel& model)
    : CArgGlobalDlg(parent, model)
{
    auto* switches = new wxBoxSizer(wxVERTICAL);
    switches->Add(Group(T("Chord Scan"), {1337}), 0, wxEXPAND | wxBOTTOM, 6);
    switches->Add(Group(T("Lower Memory"), {1338, 1605}), 0, wxEXPAND | wxBOTTOM, 6);
    switches->Add(Group(T("Chord Recognition"), {1329, 1608}), 0, wxEXPAND);
    Arrange(switches);
}

} // namespace zib
