#pragma once

#include "app/core/NewFileDlgModel.h"
#include "ui/dialogs/CZibDialog.h"

#include <vector>

class wxListBox;

namespace zib {

class CZibDocTemplate;

// "Select New Document Type" (252): the kind of document File New makes and
// its sub-type. Ends by itself when it has one kind or none to offer.
class CNewFileDlg : public CZibDialog {
public:
    CNewFileDlg(wxWindow* parent, std::vector<CZibDocTemplate*> templates);

    // wxDialog: -1 without showing when nothing can be offered, OK at once for one kind.
    int ShowModal() override;

    // After OK: the chosen template (null for none) and sub-type (-1 for none).
    CZibDocTemplate* Template() const;
    int SubType() const { return model_.subType(); }

private:
    void FillSubTypes();
    void OnOK(wxCommandEvent& event);

    std::vector<CZibDocTemplate*> templates_;
    NewFileDlgModel model_;
    NewFileDlgModel::Start start_;
    wxListBox* kinds_ = nullptr;
    wxListBox* subTypes_ = nullptr;
};

} // namespace zib
