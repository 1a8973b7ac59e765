#include "docs/program/dialogs/CArgGlobalWq41Dlg.h"

#include <wx/sizer.h>

namespace zib {

CArgGlobalWq41Dlg::CArgGlobalWq41Dlg(wxWindow* parent, ArgGlobalDlgModel& model)
    : CArgGlobalDlg(parent, model)
{
    auto* left = new wxBoxSizer(wxVERTICAL);
    left->Add(Group(T("Velocity"), {1312, 1313}), 0, wxEXPAND | wxBOTTOM, 6);
    left->Add(Group(T("Chord Sound"), {1317, 1318}), 0, wxEXPAND | wxBOTTOM, 6);
    left->Add(Group(T("Synchro"), {1320, 1321}), 0, wxEXPAND | wxBOTTOM, 6);
    left->Add(Group(T("Chord Recognition"), {1329}), 0, wxEXPAND);
    auto* switches = new wxBoxSizer(wxHORIZONTAL);
    switches->Add(left, 0, wxEXPAND | wxRIGHT, 6);
    switches->Add(Group(T("Buttons"), {1322, 1323, 1324, 1325, 1326, 1327, 1328}), 1, wxEXPAND);
    Arrange(switches);
}

} // namespace zib
