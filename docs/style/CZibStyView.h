#pragma once

#include "docs/style/CItemListView.h"

namespace zib {

class CZibStyDoc;
class CZibStyWxDoc;

// The list view of a style document: one row per style item, or per STS
// item in the STS view of a Qe file, with the item commands, the element
// and bank choosers of Qe files and the too-large marks of Wq files.
class CZibStyView : public CItemListView {
public:
    CZibStyView();

    // wxView
    bool OnCreate(wxDocument* doc, long flags) override;
    void OnActivateView(bool activate, wxView* activeView, wxView* deactiveView) override;

    // CItemListSource
    std::string ListCellText(long row, long column) const override;
    int ListRowImage(long row) const override;
    bool ListRowMarked(long row) const override;
    // CItemListStatusSource
    std::optional<std::string> FocusedItemName() const override;
    int ItemCount() const override;
    uint64_t TotalItemSize() const override;

protected:
    std::vector<StyColumn> Columns() const override;
    int RowCount() const override;
    std::vector<std::string> ImageGlyphs() const override;
    int FirstWideColumn() const override;
    std::vector<MenuItemDef> PopupMenuDef() const override;
    void ColumnClicked(int column) override;
    int RenameLimitOf(int row) const override;
    bool Rename(int row, const std::string& text) override;
    std::optional<StyClipboardBlock> CopyBlockOf(const std::vector<int>& rows, int focused) override;
    std::vector<int> Drop(const StyClipboardBlock& block, int row, bool fromThisView, bool move,
                          const std::vector<int>& dragged) override;
    void DeleteRows(const std::vector<int>& rows, int focused) override;
    bool MoveRow(int direction, int row) override;
    void CloseToolWindows() override;
    void OpenProperties() override;
    bool CanMove() const override;
    void CheckAbort() override;

private:
    CZibStyWxDoc* Doc() const;
    CZibStyDoc& Model() const;
    bool StsView() const;
    // The too-large marks of a Wq file; the rows of a last short block that
    // is too large become selected too.
    void MarkBlocks();

    // Commands
    void OnPaste(wxCommandEvent& event);
    void OnEmpty(wxCommandEvent& event);
    void OnExtract(wxCommandEvent& event);
    void OnImport(wxCommandEvent& event);
    void OnStsView(wxCommandEvent& event);
    void OnStyleElement(wxCommandEvent& event);
    void OnBank(wxCommandEvent& event);
    void OnSave(wxCommandEvent& event);
    void OnSaveAs(wxCommandEvent& event);
    void OnCloseDocument(wxCommandEvent& event);
    void OnUpdateCopy(wxUpdateUIEvent& event);
    void OnUpdatePaste(wxUpdateUIEvent& event);
    void OnUpdateDelete(wxUpdateUIEvent& event);
    void OnUpdateHasItems(wxUpdateUIEvent& event);
    void OnUpdateRename(wxUpdateUIEvent& event);
    void OnUpdateProperties(wxUpdateUIEvent& event);
    void OnUpdateStsView(wxUpdateUIEvent& event);
    void OnUpdateStyleElement(wxUpdateUIEvent& event);
    void OnUpdateBank(wxUpdateUIEvent& event);

    std::vector<bool> tooLarge_;

    wxDECLARE_DYNAMIC_CLASS(CZibStyView);
};

} // namespace zib
