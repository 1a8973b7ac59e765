#include "docs/style/CItemListView.h"

#include "app/CMainFrame.h"
#include "app/CMainToolBar.h"
#include "app/CZibApp.h"
#include "app/CZibDocTemplate.h"
#include "app/ZibMessageBox.h"
#include "app/MenuBuilder.h"
#include "app/core/CommandIds.h"
#include "docs/style/core/StyCommandIds.h"
#include "docs/style/StyleGuiSupport.h"
#include "platform/WxText.h"
#include "platform/ZibClipboardFormat.h"

#include <wx/dataobj.h>
#include <wx/dnd.h>
#include <wx/imaglist.h>
#include <wx/menu.h>
#include <wx/sizer.h>

namespace zib {

namespace {

// Accepts blocks of the private format over the list and hands them to the view.
class CItemListDropTarget : public wxDropTarget {
public:
    explicit CItemListDropTarget(CItemListView& view)
        : wxDropTarget(new wxCustomDataObject(ZibClipboardFormat())), view_(view)
    {
    }

    wxDragResult OnDragOver(wxCoord x, wxCoord y, wxDragResult def) override { return view_.DragOver(x, y, def); }

    wxDragResult OnData(wxCoord x, wxCoord y, wxDragResult def) override
    {
        if (!GetData()) return wxDragNone;
        auto* data = static_cast<wxCustomDataObject*>(GetDataObject());
        const auto* bytes = static_cast<const uint8_t*>(data->GetData());
        return view_.DropBytes(std::vector<uint8_t>(bytes, bytes + data->GetSize()), x, y, def);
    }

private:
    CItemListView& view_;
};

} // namespace

CItemListView::CItemListView() = default;

CItemListView::~CItemListView()
{
    delete images_;
}

bool CItemListView::OnCreate(wxDocument* doc, long flags)
{
    if (!wxView::OnCreate(doc, flags)) return false;
    auto* tmpl = dynamic_cast<CZibDocTemplate*>(doc->GetDocumentTemplate());
    frame_ = tmpl ? dynamic_cast<CZibDocChildFrame*>(tmpl->CreateChildFrame(doc, this)) : nullptr;
    if (!frame_) return false;
    SetFrame(frame_);
    list_ = new CItemListCtrl(frame_, *this);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(list_, 1, wxEXPAND);
    frame_->SetSizer(sizer);
    if (ZibClipboardFormatRegistered()) list_->SetDropTarget(new CItemListDropTarget(*this));

    list_->Bind(wxEVT_LIST_KEY_DOWN, &CItemListView::OnKeyDown, this);
    list_->Bind(wxEVT_LIST_BEGIN_LABEL_EDIT, &CItemListView::OnBeginLabelEdit, this);
    list_->Bind(wxEVT_LIST_END_LABEL_EDIT, &CItemListView::OnEndLabelEdit, this);
    list_->Bind(wxEVT_LIST_COL_CLICK, &CItemListView::OnColumnClick, this);
    list_->Bind(wxEVT_LIST_ITEM_RIGHT_CLICK, &CItemListView::OnRightClick, this);
    list_->Bind(wxEVT_LIST_ITEM_ACTIVATED, &CItemListView::OnActivated, this);
    list_->Bind(wxEVT_LIST_BEGIN_DRAG, &CItemListView::OnBeginDrag, this);
    list_->Bind(wxEVT_LIST_BEGIN_RDRAG, &CItemListView::OnBeginRightDrag, this);

    BindCommand(stycmd::EditCopy, &CItemListView::OnCopy, nullptr);
    BindCommand(stycmd::EditCut, &CItemListView::OnCut, nullptr);
    BindCommand(stycmd::SelectAll, &CItemListView::OnSelectAll, &CItemListView::OnUpdateSelectAll);
    BindCommand(stycmd::RenameItem, &CItemListView::OnRename, nullptr);
    BindCommand(stycmd::MoveItemUp, &CItemListView::OnMove, &CItemListView::OnUpdateMove);
    BindCommand(stycmd::MoveItemDown, &CItemListView::OnMove, &CItemListView::OnUpdateMove);
    BindCommand(stycmd::DeleteItems, &CItemListView::OnDelete, nullptr);
    BindCommand(stycmd::Properties, &CItemListView::OnProperties, nullptr);

    InstallStyleToolbarButtons();
    frame_->Show(true);
    Activate(true);
    return true;
}

void CItemListView::BindHandler(int id, void (CItemListView::*handler)(wxCommandEvent&))
{
    if (handler) Bind(wxEVT_MENU, handler, this, cmd::ToWxId(id));
}

void CItemListView::BindUpdate(int id, void (CItemListView::*update)(wxUpdateUIEvent&))
{
    if (update) Bind(wxEVT_UPDATE_UI, update, this, cmd::ToWxId(id));
}

void CItemListView::OnDraw(wxDC*) {}

void CItemListView::OnUpdate(wxView*, wxObject*)
{
    Refill();
}

bool CItemListView::OnClose(bool deleteWindow)
{
    if (!wxView::OnClose(deleteWindow)) return false;
    CloseToolWindows();
    Activate(false);
    if (deleteWindow && frame_) {
        frame_->Destroy();
        SetFrame(nullptr);
        frame_ = nullptr;
        list_ = nullptr;
    }
    return true;
}

// ---- Filling ------------------------------------------------------------

void CItemListView::CreateImageList()
{
    if (!list_) return;
    delete images_;
    images_ = new wxImageList(16, 16, true, 4);
    for (const std::string& glyph : ImageGlyphs())
        images_->Add(CMainToolBar::GlyphBitmap(glyph));
    list_->SetImageList(images_, wxIMAGE_LIST_SMALL);
}

void CItemListView::Refill()
{
    if (!list_) return;
    list_->Freeze();
    list_->DeleteAllColumns();
    for (const StyColumn& c : Columns())
        list_->AppendColumn(UiTextWx(c.title), wxLIST_FORMAT_LEFT, c.width);
    wideColumns_ = false;
    CreateImageList();
    list_->SetItemCount(RowCount());
    list_->Refresh();
    list_->Thaw();
}

void CItemListView::RefreshRows()
{
    if (!list_) return;
    list_->SetItemCount(RowCount());
    if (RowCount() > 0) list_->RefreshItems(0, RowCount() - 1);
    list_->Refresh();
}

void CItemListView::ToggleWideColumns()
{
    const int first = FirstWideColumn();
    if (first < 0 || !list_) return;
    const int step = wideColumns_ ? -50 : 50;
    wideColumns_ = !wideColumns_;
    for (int c = first; c < list_->GetColumnCount(); ++c)
        list_->SetColumnWidth(c, list_->GetColumnWidth(c) + step);
    RefreshRows();
}

// ---- List events --------------------------------------------------------

void CItemListView::OnKeyDown(wxListEvent& event)
{
    if (event.GetKeyCode() == WXK_DELETE) {
        DeleteRows(list_->SelectedRows(), int(list_->FocusedRow()));
        CheckAbort();
        return;
    }
    event.Skip();
}

void CItemListView::OnBeginLabelEdit(wxListEvent& event)
{
    const int limit = RenameLimitOf(int(event.GetIndex()));
    if (limit == 0) {
        event.Veto();
        return;
    }
    labelEdit_ = true;
    if (wxTextCtrl* editor = list_->GetEditControl()) editor->SetMaxLength(unsigned(limit));
}

void CItemListView::OnEndLabelEdit(wxListEvent& event)
{
    labelEdit_ = false;
    // The list shows the document's names: the edit itself never stays.
    event.Veto();
    if (event.IsEditCancelled()) return;
    if (Rename(int(event.GetIndex()), ItemTextFromWx(event.GetLabel()))) GetDocument()->Modify(true);
    RefreshRows();
}

void CItemListView::OnColumnClick(wxListEvent& event)
{
    ColumnClicked(event.GetColumn());
}

void CItemListView::ColumnClicked(int column)
{
    if (FirstWideColumn() >= 0 && column >= FirstWideColumn()) ToggleWideColumns();
}

void CItemListView::OnRightClick(wxListEvent&)
{
    if (labelEdit_) return;
    ShowPopup(PopupMenuDef());
}

void CItemListView::OnActivated(wxListEvent&)
{
    OpenProperties();
}

void CItemListView::ShowPopup(const std::vector<MenuItemDef>& items)
{
    std::unique_ptr<wxMenuBar> bar(BuildMenuBar({MenuPopup("", items)}, wxGetApp().Language(), {}));
    std::unique_ptr<wxMenu> menu(bar && bar->GetMenuCount() ? bar->Remove(0) : nullptr);
    if (!menu) {
        ShowStyNotice(StyNotice::Numbered(stymsg::CannotLoadPopupMenu));
        return;
    }
    // The popup's commands and their enabling go through this view.
    menu->SetEventHandler(this);
    for (wxMenuItem* item : menu->GetMenuItems()) {
        if (item->IsSeparator()) continue;
        wxUpdateUIEvent update(item->GetId());
        update.SetEventObject(menu.get());
        ProcessEvent(update);
        if (update.GetSetEnabled()) item->Enable(update.GetEnabled());
        if (update.GetSetChecked() && item->IsCheckable()) item->Check(update.GetChecked());
    }
    list_->PopupMenu(menu.get());
}

// ---- Clipboard ----------------------------------------------------------

void CItemListView::Copy(wxDragResult effects)
{
    if (!ZibClipboardFormatRegistered() || !list_) return;
    const std::vector<int> rows = list_->SelectedRows();
    const std::optional<StyClipboardBlock> block = CopyBlockOf(rows, int(list_->FocusedRow()));
    if (!block) {
        // More rows than one block has room for.
        if (rows.size() > StyClipboardBlock::kMaxItems) ShowStyNotice(StyNotice::Numbered(74, "CopyToClipboard"));
        return;
    }
    const std::vector<uint8_t> bytes = block->Bytes();
    if (effects == wxDragNone) {
        if (!PutClipboardBlock(bytes)) ShowStyNotice(StyNotice::Numbered(74, "CopyToClipboard"));
        return;
    }
    wxCustomDataObject data(ZibClipboardFormat());
    data.SetData(bytes.size(), bytes.data());
    wxDropSource source(data, list_);
    dragSource_ = dragRunning_ = true;
    const wxDragResult result = source.DoDragDrop(effects == wxDragMove ? wxDrag_AllowMove : wxDrag_CopyOnly);
    // A move into another window takes the dragged rows away from here.
    if (result == wxDragMove && dragSource_) {
        DeleteRows(rows, -1);
        GetDocument()->Modify(true);
        RefreshRows();
    }
    dragSource_ = dragRunning_ = false;
    CheckAbort();
}

void CItemListView::OnCopy(wxCommandEvent&)
{
    Copy(wxDragNone);
}

void CItemListView::OnCut(wxCommandEvent&)
{
    CloseToolWindows();
    Copy(wxDragNone);
    DeleteRows(list_->SelectedRows(), int(list_->FocusedRow()));
    RefreshRows();
    CheckAbort();
}

void CItemListView::SelectAfterPaste(const std::vector<int>& rows)
{
    RefreshRows();
    if (rows.empty()) return;
    list_->SelectOnly(rows, rows.front());
    list_->EnsureVisible(rows.back());
}

// ---- Drag and drop ------------------------------------------------------

void CItemListView::OnBeginDrag(wxListEvent&)
{
    CloseToolWindows();
    Copy(wxDragMove);
}

void CItemListView::OnBeginRightDrag(wxListEvent&)
{
    CloseToolWindows();
    Copy(wxDragCopy);
}

wxDragResult CItemListView::DragOver(wxCoord x, wxCoord y, wxDragResult)
{
    if (!list_) return wxDragNone;
    // Near the top or bottom row the list scrolls on.
    int flags = 0;
    const long row = list_->HitTest(wxPoint(x, y), flags);
    const long top = list_->GetTopItem();
    if (row != -1 && row <= top && top > 0) list_->EnsureVisible(top - 1);
    const long below = top + list_->GetCountPerPage();
    if (row >= below - 1 && below < list_->GetItemCount()) list_->EnsureVisible(below);
    return wxGetMouseState().LeftIsDown() ? wxDragMove : wxDragCopy;
}

wxDragResult CItemListView::DropBytes(const std::vector<uint8_t>& bytes, wxCoord x, wxCoord y, wxDragResult def)
{
    const std::optional<StyClipboardBlock> block = StyClipboardBlock::Read(bytes);
    if (!block || !list_) return wxDragNone;
    int flags = 0;
    const long row = list_->HitTest(wxPoint(x, y), flags);
    const bool fromThisView = dragSource_;
    const bool move = def == wxDragMove;
    const std::vector<int> rows =
        Drop(*block, int(row), fromThisView, move, fromThisView ? list_->SelectedRows() : std::vector<int>());
    // The dragged rows of this view are gone already.
    if (fromThisView && move && !rows.empty()) dragSource_ = false;
    if (!rows.empty()) GetDocument()->Modify(true);
    SelectAfterPaste(rows);
    CheckAbort();
    return rows.empty() ? wxDragNone : def;
}

// ---- Shared commands ----------------------------------------------------

void CItemListView::OnSelectAll(wxCommandEvent&)
{
    for (long r = 0; r < list_->GetItemCount(); ++r)
        list_->Select(r, true);
}

void CItemListView::OnUpdateSelectAll(wxUpdateUIEvent& event)
{
    event.Enable(RowCount() > 0);
}

void CItemListView::OnRename(wxCommandEvent&)
{
    const long row = list_->FocusedRow();
    if (row >= 0 && RenameLimitOf(int(row)) > 0) {
        CloseToolWindows();
        list_->EditLabel(row);
    }
}

void CItemListView::OnMove(wxCommandEvent& event)
{
    const int direction = cmd::FromWxId(event.GetId()) == stycmd::MoveItemDown ? +1 : -1;
    const long row = list_->FocusedRow();
    if (row < 0) return;
    CloseToolWindows();
    if (!MoveRow(direction, int(row))) return;
    GetDocument()->Modify(true);
    RefreshRows();
    list_->SelectOnly({int(row) + direction}, row + direction);
    list_->EnsureVisible(row + direction);
}

void CItemListView::OnUpdateMove(wxUpdateUIEvent& event)
{
    event.Enable(CanMove() && RowCount() > 0 && list_ && list_->FocusedRow() >= 0);
}

void CItemListView::OnDelete(wxCommandEvent&)
{
    CloseToolWindows();
    DeleteRows(list_->SelectedRows(), int(list_->FocusedRow()));
    RefreshRows();
    CheckAbort();
}

void CItemListView::OnProperties(wxCommandEvent&)
{
    OpenProperties();
}

} // namespace zib
