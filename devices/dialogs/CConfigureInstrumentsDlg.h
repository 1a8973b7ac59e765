#pragma once

#include "ui/dialogs/CZibDialog.h"
#include "devices/core/InstrumentTree.h"

class wxButton;
class wxStaticText;
class wxTreeCtrl;
class wxTreeEvent;
class wxTreeItemId;

namespace zib {

class CInstrumentStore;

// "Configure Instruments" (265): the instrument set as a tree; instruments are
// imported from .INS files ("Add..."), removed and extracted (right click).
// Every change rewrites the instrument file at once.
class CConfigureInstrumentsDlg : public CZibDialog {
public:
    static constexpr int kIdAdd = 1946;
    static constexpr int kIdTree = 1947;
    static constexpr int kIdStatus = 1047;
    static constexpr int kCmdRemove = 32777;
    static constexpr int kCmdExtract = 32773;

    CConfigureInstrumentsDlg(wxWindow* parent, CInstrumentStore& store);

    int ShowModal() override;

    // Fills the tree from the instrument set; false when it cannot be filled.
    bool FillTree();

private:
    void OnAdd(wxCommandEvent& event);
    void OnTreeRightClick(wxTreeEvent& event);
    void OnTreeKey(wxTreeEvent& event);
    void OnRemove(wxCommandEvent& event);
    void OnExtract(wxCommandEvent& event);
    void OnClose(wxCommandEvent& event);
    // The name of the selected instrument; empty when no instrument is selected.
    std::string SelectedInstrument() const;
    void AddItems(const wxTreeItemId& parent, const InstrumentTreeItem& item);
    void ShowButtons(bool show);

    CInstrumentStore& store_;
    wxTreeCtrl* tree_ = nullptr;
    wxStaticText* status_ = nullptr;
    wxButton* close_ = nullptr;
    wxButton* add_ = nullptr;
};

} // namespace zib
