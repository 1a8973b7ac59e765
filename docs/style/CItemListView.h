#pragma once

#include "app/CChildFrames.h"
#include "app/core/MenuModel.h"
#include "docs/style/core/StyClipboardBlock.h"
#include "docs/style/core/StyListModel.h"
#include "docs/style/CItemListCtrl.h"

#include <optional>
#include <string>
#include <vector>
#include <wx/dnd.h>
#include <wx/docview.h>

class wxImageList;

namespace zib {

// The list view of a style or pad document: a report list with one row per
// item in the document's child frame, and what both lists do alike: label
// editing, column widening, context and column popups, Select All, moves
// with their selection, the private clipboard and drag and drop. The
// derived views supply the rows and carry out the commands on their
// document's model.
class CItemListView : public wxView, public CItemListSource, public CItemListStatusSource {
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

    // The drop target's calls
    wxDragResult DragOver(wxCoord x, wxCoord y, wxDragResult def);
    wxDragResult DropBytes(const std::vector<uint8_t>& bytes, wxCoord x, wxCoord y, wxDragResult def);

protected:
    // What the derived views supply
    virtual std::vector<StyColumn> Columns() const = 0;
    virtual int RowCount() const = 0;
    // Glyphs of the image list (image 0, 1 ...) and the model icon's letter.
    virtual std::vector<std::string> ImageGlyphs() const = 0;
    // The first column that the per-element widening reaches (-1: none).
    virtual int FirstWideColumn() const = 0;
    virtual std::vector<MenuItemDef> PopupMenuDef() const = 0;
    virtual void ColumnClicked(int column);
    // Item operations on the document
    virtual int RenameLimitOf(int row) const = 0;
    virtual bool Rename(int row, const std::string& text) = 0;
    virtual std::optional<StyClipboardBlock> CopyBlockOf(const std::vector<int>& rows, int focused) = 0;
    // The rows of the dropped items, empty when nothing was dropped.
    virtual std::vector<int> Drop(const StyClipboardBlock& block, int row, bool fromThisView, bool move,
                                  const std::vector<int>& dragged) = 0;
    virtual void DeleteRows(const std::vector<int>& rows, int focused) = 0;
    virtual bool MoveRow(int direction, int row) = 0;
    virtual void CloseToolWindows() = 0;
    virtual void OpenProperties() = 0;
    virtual bool CanMove() const = 0;
    // After every command: a document whose data cannot be used any more is closed.
    virtual void CheckAbort() = 0;

    // Commands shared by both lists
    void OnCopy(wxCommandEvent& event);
    void OnCut(wxCommandEvent& event);
    void OnSelectAll(wxCommandEvent& event);
    void OnRename(wxCommandEvent& event);
    void OnMove(wxCommandEvent& event);
    void OnDelete(wxCommandEvent& event);
    void OnProperties(wxCommandEvent& event);
    void OnUpdateSelectAll(wxUpdateUIEvent& event);
    void OnUpdateMove(wxUpdateUIEvent& event);

    // Shared helpers
    void Copy(wxDragResult effects);
    void ShowPopup(const std::vector<MenuItemDef>& items);
    void SelectAfterPaste(const std::vector<int>& rows);
    void ToggleWideColumns();
    // Binds a command and, when given, its update handler to this view.
    template <class H, class U> void BindCommand(int id, H handler, U update)
    {
        BindHandler(id, handler);
        BindUpdate(id, update);
    }
    void BindHandler(int id, void (CItemListView::*handler)(wxCommandEvent&));
    void BindUpdate(int id, void (CItemListView::*update)(wxUpdateUIEvent&));

    CZibDocChildFrame* frame_ = nullptr;
    CItemListCtrl* list_ = nullptr;
    wxImageList* images_ = nullptr;
    bool wideColumns_ = false;
    bool labelEdit_ = false;
    bool dragSource_ = false;
    bool dragRunning_ = false;
    int currentElement_ = 0;

private:
    void OnKeyDown(wxListEvent& event);
    void OnBeginLabelEdit(wxListEvent& event);
    void OnEndLabelEdit(wxListEvent& event);
    void OnColumnClick(wxListEvent& event);
    void OnRightClick(wxListEvent& event);
    void OnActivated(wxListEvent& event);
    void OnBeginDrag(wxListEvent& event);
    void OnBeginRightDrag(wxListEvent& event);
    void CreateImageList();
};

} // namespace zib
