#pragma once

#include "docs/style/core/CStsTreeModel.h"

#include <memory>
#include <wx/treectrl.h>

class wxImageList;

namespace zib {

class CZibStyWxDoc;

// The right pane of a Qe style's edit frame: the style's STS item as a root
// and the four STS slots, with Copy and Paste of the whole STS data or one
// STS block, and the property sheets of the root and of a present slot.
class CStsTreeView : public wxTreeCtrl {
public:
    CStsTreeView(wxWindow* parent, CZibStyWxDoc& doc, int row, uint32_t model);
    ~CStsTreeView() override;

    // Fills the tree; false when the STS data cannot be read (the tree then
    // shows the root and four absent slots and offers nothing to copy).
    bool FillStsTree(const std::string& rootLabel);

    // Commands
    void OnCopy();
    void OnPaste();
    void OnProperties();
    bool CanCopy() const;

private:
    void Refill();
    void OnSelChanged(wxTreeEvent& event);
    void OnRightClick(wxTreeEvent& event);
    void OnActivated(wxTreeEvent& event);
    void OnCollapsing(wxTreeEvent& event);
    void OnPopupCommand(wxCommandEvent& event);

    CZibStyWxDoc& doc_;
    int row_;
    uint32_t model_;
    CStsTreeModel tree_;
    bool readable_ = false;
    wxImageList* images_ = nullptr;
};

} // namespace zib
