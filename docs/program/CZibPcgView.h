#pragma once

#include "app/CChildFrames.h"
#include "docs/program/core/PcgListModel.h"

#include <memory>
#include <vector>
#include <wx/dnd.h>
#include <wx/docview.h>
#include <wx/listctrl.h>

namespace zib {

class CPcgListCtrl;
class CZibPcgDoc;

// The list view of a program document: the programs, or a Wq document's drum
// kits, one row each. Carries the commands of the list: move up and down,
// copy, cut and paste through the private clipboard format, drag and drop
// between program views, rename, the bank menu of Qe documents, the switch
// between programs and drum kits, and the editor pages of Wq items.
class CZibPcgView : public wxView, public CItemListStatusSource {
public:
    CZibPcgView() = default;

    CZibPcgDoc* Doc() const;

    // The rows
    std::vector<int> SelectedRows() const;
    int FocusedRow() const; // -1: none
    // Columns and rows again from the document; the selection goes.
    void Fill();
    void ClearList();
    void RefreshRows();
    // Selects `count` rows from `first` alone, focuses the first and shows them.
    void SelectRows(int first, int count);
    void SelectAll();
    void ShowRow(int row);

    // wxView
    bool OnCreate(wxDocument* doc, long flags) override;
    void OnDraw(wxDC*) override {}
    void OnUpdate(wxView* sender, wxObject* hint) override;
    bool OnClose(bool deleteWindow) override;
    void OnActivateView(bool activate, wxView* activeView, wxView* deactiveView) override;

    // CItemListStatusSource
    std::optional<std::string> FocusedItemName() const override;
    int ItemCount() const override;
    uint64_t TotalItemSize() const override;

    // A drop of a block on the list at a point of the list window.
    wxDragResult OnDrop(const std::vector<uint8_t>& block, wxPoint point, wxDragResult effect);

private:
    void BindCommands();
    void CopyToClipboard(bool drag, bool move);
    void AfterPaste(const PcgListModel::PasteResult& result);
    void MoveFocused(int direction);

    // Command handlers
    void OnMoveUp(wxCommandEvent& event);
    void OnMoveDown(wxCommandEvent& event);
    void OnEditCopy(wxCommandEvent& event);
    void OnEditCut(wxCommandEvent& event);
    void OnEditPaste(wxCommandEvent& event);
    void OnRename(wxCommandEvent& event);
    void OnStsView(wxCommandEvent& event);
    void OnProperties(wxCommandEvent& event);
    void OnUpdateMove(wxUpdateUIEvent& event);
    void OnUpdateCopy(wxUpdateUIEvent& event);
    void OnUpdatePaste(wxUpdateUIEvent& event);
    void OnUpdateRename(wxUpdateUIEvent& event);
    void OnUpdateStsView(wxUpdateUIEvent& event);
    void OnUpdateProperties(wxUpdateUIEvent& event);

    // List handlers
    void OnBeginDrag(wxListEvent& event);
    void OnBeginRDrag(wxListEvent& event);
    void OnRightClick(wxListEvent& event);
    void OnBeginLabelEdit(wxListEvent& event);
    void OnEndLabelEdit(wxListEvent& event);
    void OnKeyDown(wxListEvent& event);
    void OnColumnClick(wxListEvent& event);
    void OnActivated(wxListEvent& event);
    void OnBankRange(wxCommandEvent& event);

    std::unique_ptr<PcgListModel> model_;
    CPcgListCtrl* list_ = nullptr; // owned by the frame
    bool dragSource_ = false;      // this view started the drag that runs
    bool labelEdit_ = false;

    wxDECLARE_DYNAMIC_CLASS(CZibPcgView);
};

} // namespace zib
