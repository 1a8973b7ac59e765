#pragma once

#include "ui/dialogs/CZibDialog.h"
#include "devices/core/AddInstrumentsModel.h"

class wxListBox;

namespace zib {

// "Add Instruments" (266): the user picks the instruments of an .INS file to
// import; OK leaves only those in the parser's wanted names.
class CAddInstrumentsDlg : public CZibDialog {
public:
    static constexpr int kIdInstrumentList = 1948;

    CAddInstrumentsDlg(wxWindow* parent, std::vector<std::string>& wantedNames);

private:
    void OnOk(wxCommandEvent& event);

    AddInstrumentsModel model_;
    wxListBox* list_ = nullptr;
};

} // namespace zib
