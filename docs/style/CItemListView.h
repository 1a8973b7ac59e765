#pragma once

#include "ui/BlockDragSource.h"
#include "ui/CChildFrames.h"
#include "ui/CListCtrlCustomDraw.h"
#include "ui/core/MenuModel.h"
#include "docs/style/core/StyClipboardBlock.h"
#include "docs/style/core/StyCommandRules.h"
#include "docs/style/core/StyListModel.h"
#include "docs/style/CItemListCtrl.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>
#include <wx/dnd.h>
#include <wx/docview.h>

class wxImageList;

namespace zib {

class CItemWxDoc;
class CZibItemDoc;

// The list view of a style or pad document: a custom-drawn report list with
// one row per item in the document's child frame, and what both lists do
// alike: label editing, column widening, context and column popups, the
// commands and their enabling through the document's command table,
// moves, the private clipboard and drag and drop (also for the test
// driver). The derived views supply the rows and carry out the commands on
// their document's model.
class CItemListView : public wxView,
                      public ListCustomDraw,
                      public CItemListSource,
                      public CItemListStatusSource,
                      public BlockDragSource {
public:
    CItemListView();
    ~CItemListView() override;

    // wxView
    bool OnCreate(wxDocument* doc, long flags) override;
    void OnDraw(wxDC* dc) override;
    void OnUpdate(wxView* sender, wxObject* hint) override;
    bool OnClose(bool deleteWindow) override;

    // The list
    CItemListCtrl* List() const { return list_; }
    // Columns, image list and rows made anew (after parsing, view switches).
    void Refill();
    // Row texts and images again (after edits that keep the columns).
    void RefreshRows();
    int CurrentElement() const { return currentElement_; }

    // CItemListSource: the model icon, with the too-large mark when it has one.
    int ListRowImage(long row) const override;
    // CItemListStatusSource: the rows the list shows.
    std::optional<std::string> FocusedItemName() const override;
    int ItemCount() const override;
    uint64_t TotalItemSize() const override;

    // The drop target's calls
    wxDragResult DragOver(wxCoord x, wxCoord y);
    wxDragResult DropBytes(const std::vector<uint8_t>& bytes, wxCoord x, wxCoord y, wxDragResult def);

    // BlockDragSource
    std::optional<std::vector<uint8_t>> StartBlockDrag() override;
    void FinishBlockDrag(bool moved) override;
    bool TakeBlockDrop(const std::vector<uint8_t>& block, int row, bool move) override;

protected:
    // What the derived views supply
    virtual CItemWxDoc* ItemDoc() const = 0;
    virtual std::vector<StyColumn> Columns() const = 0;
    int RowCount() const;
    // Glyphs of the image list's base images, and the base image of a row.
    virtual std::vector<std::string> ImageGlyphs() const = 0;
    virtual int BaseRowImage(long row) const = 0;
    virtual bool RowTooLarge(long) const { return false; }
    // The first column that the per-element widening reaches (-1: none).
    virtual int FirstWideColumn() const = 0;
    virtual std::vector<MenuItemDef> PopupMenuDef() const = 0;
    virtual void ColumnClicked(int column);
    // The command table of the document and its list
    StyListState State() const;
    virtual std::optional<StyCommand> CommandOf(int id) const;
    virtual bool CommandEnabled(StyCommand command) const = 0;
    virtual bool PopupEnabled(StyCommand command) const { return CommandEnabled(command); }
    // Carries out a command; the base runs the ones both lists share.
    virtual void RunCommand(StyCommand command);
    virtual void OpenProperties() = 0;
    // After rows moved, came or went (the too-large marks of Wq files).
    virtual void AfterRowsChanged() {}

    // Item operations on the document's model
    CZibItemDoc& ItemModel() const;
    // The rows of the dropped items, empty when nothing was dropped.
    std::vector<int> Drop(const StyClipboardBlock& block, int row, bool fromThisView, bool move,
                          const std::vector<int>& dragged);
    void DeleteRows(const std::vector<int>& rows, int focused);

    // Shared helpers
    void Copy(wxDragResult effects);
    // Shows a popup whose entries are enabled by `enabled` (other ids by
    // their update handlers).
    void ShowPopup(const std::vector<MenuItemDef>& items, const std::function<std::optional<bool>(int id)>& enabled);
    void SelectAfterPaste(const std::vector<int>& rows);
    void ToggleWideColumns();
    // After every command: a document whose data cannot be used any more is closed.
    void CheckAbort();
    // Before a command reads, moves or replaces items: the edit held in the
    // document's open edit frame goes into its item, the frame staying open.
    // False when it could not (the rebuild said why): the command does not run.
    bool WroteBackEditFrame();

    CZibDocChildFrame* frame_ = nullptr;
    CItemListCtrl* list_ = nullptr;
    wxImageList* images_ = nullptr;
    int baseImages_ = 0;
    bool wideColumns_ = false;
    bool labelEdit_ = false;
    bool dragSource_ = false;
    bool dragRunning_ = false;
    int currentElement_ = 0;
    std::vector<int> dragged_;

private:
    void OnCommand(wxCommandEvent& event);
    void OnUpdateCommand(wxUpdateUIEvent& event);
    void OnKeyDown(wxListEvent& event);
    void OnBeginLabelEdit(wxListEvent& event);
    void OnEndLabelEdit(wxListEvent& event);
    void OnColumnClick(wxListEvent& event);
    void OnRightClick();
    void OnActivated(wxListEvent& event);
    void OnBeginDrag(wxListEvent& event);
    void OnBeginRightDrag(wxListEvent& event);
    void CreateImageList();
    std::vector<int> DropAt(const StyClipboardBlock& block, int row, bool move);
};

} // namespace zib
