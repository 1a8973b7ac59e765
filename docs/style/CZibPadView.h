#pragma once

#include "docs/style/CItemListView.h"

namespace zib {

class CZibPadDoc;
class CZibPadWxDoc;

// The list view of a pad document: one row per pad of the bank, with the
// item commands, the pad banks and Pad To MIDI.
class CZibPadView : public CItemListView {
public:
    CZibPadView();

    // wxView
    bool OnCreate(wxDocument* doc, long flags) override;

    // CItemListSource
    std::string ListCellText(long row, long column) const override;
    int ListRowImage(long row) const override;
    // CItemListStatusSource
    std::optional<std::string> FocusedItemName() const override;
    int ItemCount() const override;
    uint64_t TotalItemSize() const override;

protected:
    std::vector<StyColumn> Columns() const override;
    int RowCount() const override;
    std::vector<std::string> ImageGlyphs() const override;
    int FirstWideColumn() const override { return 5; }
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
    bool CanMove() const override { return true; }
    void CheckAbort() override;

private:
    CZibPadWxDoc* Doc() const;
    CZibPadDoc& Model() const;

    // Commands
    void OnPaste(wxCommandEvent& event);
    void OnEmpty(wxCommandEvent& event);
    void OnExtract(wxCommandEvent& event);
    void OnImport(wxCommandEvent& event);
    void OnPadToMidi(wxCommandEvent& event);
    void OnPlayback(wxCommandEvent& event);
    void OnBank(wxCommandEvent& event);
    void OnSave(wxCommandEvent& event);
    void OnSaveAs(wxCommandEvent& event);
    void OnCloseDocument(wxCommandEvent& event);
    void OnUpdateHasItems(wxUpdateUIEvent& event);
    void OnUpdateSelected(wxUpdateUIEvent& event);
    void OnUpdatePaste(wxUpdateUIEvent& event);
    void OnUpdateAlways(wxUpdateUIEvent& event);
    void OnUpdatePadToMidi(wxUpdateUIEvent& event);
    void OnUpdatePlayback(wxUpdateUIEvent& event);
    void OnUpdateWithData(wxUpdateUIEvent& event);
    void OnUpdateProperties(wxUpdateUIEvent& event);
    void OnUpdateBank(wxUpdateUIEvent& event);

    wxDECLARE_DYNAMIC_CLASS(CZibPadView);
};

} // namespace zib
