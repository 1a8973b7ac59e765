#pragma once

#include "ui/BlockDragSource.h"
#include "ui/CChildFrames.h"
#include "ui/core/MenuModel.h"
#include "docs/program/CProgramListCtrl.h"
#include "docs/program/WxProgramDocPort.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include <wx/dnd.h>
#include <wx/docview.h>

namespace zib {

class CProgramWxDoc;

// The list view of a program, performance, arrangement or global document:
// one report row per item or parameter in the document's child frame, the
// window of the document's port, and what the lists do alike (label editing,
// popups, the private clipboard, drags and drops of item blocks). The views
// of each kind supply the rows and carry out the commands on their models.
class CProgramListView : public wxView, public CItemListStatusSource, public BlockDragSource {
public:
    CProgramListView() = default;
    ~CProgramListView() override;

    CProgramWxDoc* Doc() const;
    CProgramListCtrl* List() const { return list_; }
    ProgramDocPort& Port() { return *port_; }

    // wxView
    bool OnCreate(wxDocument* doc, long flags) override;
    void OnDraw(wxDC*) override {}
    void OnUpdate(wxView* sender, wxObject* hint) override;
    bool OnClose(bool deleteWindow) override;
    void OnActivateView(bool activate, wxView* activeView, wxView* deactiveView) override;

    // Columns, images and rows anew.
    void Fill();

    // CItemListStatusSource
    std::optional<std::string> FocusedItemName() const override;
    int ItemCount() const override { return RowCount(); }
    uint64_t TotalItemSize() const override;

    // BlockDragSource: a whole drag, as the drop target and the drag source see it
    std::optional<std::vector<uint8_t>> StartBlockDrag() override { return BeginDrag(); }
    void FinishBlockDrag(bool moved) override;
    bool TakeBlockDrop(const std::vector<uint8_t>& block, int row, bool move) override;

    // The drop target's calls
    wxDragResult DragOver(wxCoord x, wxCoord y);
    wxDragResult Drop(const std::vector<uint8_t>& bytes, wxCoord x, wxCoord y, wxDragResult effect);

protected:
    // What each kind supplies
    virtual std::vector<CProgramListCtrl::Column> Columns() const = 0;
    virtual int RowCount() const = 0;
    virtual std::string CellText(int row, int column) const = 0;
    virtual int IconResource() const = 0; // the row and frame icon
    virtual std::optional<std::string> ItemName(int row) const { (void)row; return std::nullopt; }
    virtual uint64_t ItemSize(int row) const { (void)row; return 0; }
    // Item lists
    virtual bool HasItems() const { return false; } // the MoveItem bar and the item popups
    virtual std::optional<std::vector<uint8_t>> BeginDrag() { return std::nullopt; }
    virtual void EndDrag(bool moved) { (void)moved; }
    virtual bool DropBlock(const std::vector<uint8_t>& bytes, int row, bool move)
    {
        (void)bytes, (void)row, (void)move;
        return false;
    }
    virtual bool CanBeginLabelEdit(int row) const { (void)row; return false; }
    virtual void EndLabelEdit(int row, const std::string& text) { (void)row, (void)text; }
    virtual void KeyDelete() {}
    virtual void ColumnClicked(int column) { (void)column; }
    virtual void Activated() {}
    virtual std::vector<MenuItemDef> PopupMenu() const { return {}; }
    virtual void EnablePopup(wxMenu& menu) const { (void)menu; }

    // Binds a command of the view to an operation and its rule; the
    // document's after-command step runs after it.
    void BindCommand(int id, std::function<void()> action, std::function<bool()> enabled);
    // A popup of menu items at the mouse, handled by this view's bindings.
    void ShowPopup(const std::vector<MenuItemDef>& items, const std::function<void(wxMenu&)>& prepare);
    // The view's commands act on rows; the window's menu commands reach it.
    virtual void BindViewCommands() {}

    CProgramListCtrl* list_ = nullptr; // owned by the frame
    std::unique_ptr<WxProgramDocPort> port_;
    bool labelEdit_ = false;

private:
    void OnBeginDrag(wxListEvent& event, bool move);
    void OnRightClick();
    void OnBeginLabelEdit(wxListEvent& event);
    void OnEndLabelEdit(wxListEvent& event);
    void OnKeyDown(wxListEvent& event);
};

} // namespace zib
