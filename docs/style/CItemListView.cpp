#include "docs/style/CItemListView.h"

#include "ui/ShellServices.h"
#include "ui/CMainToolBar.h"
#include "ui/CZibDocTemplate.h"
#include "ui/ListColumns.h"
#include "ui/MenuBuilder.h"
#include "ui/core/CommandIds.h"
#include "docs/style/CItemWxDoc.h"
#include "docs/style/StyleGuiSupport.h"
#include "docs/style/core/StyCommandIds.h"
#include "docs/style/core/StyListCommands.h"
#include "platform/WxText.h"
#include "platform/ZibClipboardFormat.h"
#include "platform/ZibDropTarget.h"

#include <wx/dataobj.h>
#include <wx/dcmemory.h>
#include <wx/imaglist.h>
#include <wx/menu.h>
#include <wx/sizer.h>

namespace zib {

namespace {

// The image with the "too large" mark in its lower right corner.
wxBitmap withTooLargeMark(const wxBitmap& base)
{
    wxBitmap marked(base.ConvertToImage());
    wxMemoryDC dc(marked);
    dc.SetPen(*wxRED_PEN);
    dc.SetBrush(*wxRED_BRUSH);
    dc.DrawRectangle(marked.GetWidth() - 7, marked.GetHeight() - 7, 7, 7);
    dc.SetPen(*wxWHITE_PEN);
    dc.DrawLine(marked.GetWidth() - 4, marked.GetHeight() - 6, marked.GetWidth() - 4, marked.GetHeight() - 3);
    dc.SelectObject(wxNullBitmap);
    return marked;
}

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
    list_ = new CItemListCtrl(frame_, *this, *this);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(list_, 1, wxEXPAND);
    frame_->SetSizer(sizer);
    if (ZibClipboardFormatRegistered())
        list_->SetDropTarget(new ZibDropTarget([this](wxCoord x, wxCoord y) { return DragOver(x, y); },
                                               [this](const std::vector<uint8_t>& block, wxCoord x, wxCoord y,
                                                      wxDragResult def) { return DropBytes(block, x, y, def); }));

    list_->Bind(wxEVT_LIST_KEY_DOWN, &CItemListView::OnKeyDown, this);
    list_->Bind(wxEVT_LIST_BEGIN_LABEL_EDIT, &CItemListView::OnBeginLabelEdit, this);
    list_->Bind(wxEVT_LIST_END_LABEL_EDIT, &CItemListView::OnEndLabelEdit, this);
    list_->Bind(wxEVT_LIST_COL_CLICK, &CItemListView::OnColumnClick, this);
    list_->BindContextMenu([this] { OnRightClick(); });
    list_->Bind(wxEVT_LIST_ITEM_ACTIVATED, &CItemListView::OnActivated, this);
    list_->Bind(wxEVT_LIST_BEGIN_DRAG, &CItemListView::OnBeginDrag, this);
    list_->Bind(wxEVT_LIST_BEGIN_RDRAG, &CItemListView::OnBeginRightDrag, this);

    for (int id : StyListCommandIds()) {
        Bind(wxEVT_MENU, &CItemListView::OnCommand, this, cmd::ToWxId(id));
        Bind(wxEVT_UPDATE_UI, &CItemListView::OnUpdateCommand, this, cmd::ToWxId(id));
    }
    // The document's own file commands.
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { GetDocument()->Save(); }, cmd::ToWxId(stycmd::FileSave));
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { GetDocument()->SaveAs(); }, cmd::ToWxId(stycmd::FileSaveAs));
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { GetDocumentManager()->CloseDocument(GetDocument()); },
         cmd::ToWxId(stycmd::FileClose));
    for (int id : {stycmd::FileSave, stycmd::FileSaveAs})
        Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) { e.Enable(RowCount() > 0); }, cmd::ToWxId(id));

    frame_->Show(true);
    Activate(true);
    return true;
}

void CItemListView::OnDraw(wxDC*) {}

void CItemListView::OnUpdate(wxView*, wxObject*)
{
    Refill();
}

bool CItemListView::OnClose(bool deleteWindow)
{
    if (!wxView::OnClose(deleteWindow)) return false;
    if (ItemDoc()) ItemDoc()->CloseToolWindows();
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
    images_ = new wxImageList(16, 16, true, 8);
    // The base images, then each again with the "too large" mark.
    std::vector<wxBitmap> bitmaps;
    for (const std::string& glyph : ImageGlyphs())
        bitmaps.push_back(CMainToolBar::GlyphBitmap(glyph));
    baseImages_ = int(bitmaps.size());
    for (const wxBitmap& b : bitmaps)
        images_->Add(b);
    for (const wxBitmap& b : bitmaps)
        images_->Add(withTooLargeMark(b));
    list_->SetImageList(images_, wxIMAGE_LIST_SMALL);
}

int CItemListView::ListRowImage(long row) const
{
    const int base = BaseRowImage(row);
    return RowTooLarge(row) ? base + baseImages_ : base;
}

void CItemListView::Refill()
{
    if (!list_) return;
    list_->Freeze();
    list_->DeleteAllColumns();
    for (const StyColumn& c : Columns())
        AppendListColumn(*list_, c.title, c.width);
    wideColumns_ = false;
    CreateImageList();
    list_->SetItemCount(RowCount());
    list_->Refresh();
    list_->Thaw();
    AfterRowsChanged();
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
    // 50 laid-out pixels, in the list's font
    const int widening = ListColumnWidth(*list_, 50);
    const int step = wideColumns_ ? -widening : widening;
    wideColumns_ = !wideColumns_;
    for (int c = first; c < list_->GetColumnCount(); ++c)
        list_->SetColumnWidth(c, list_->GetColumnWidth(c) + step);
    RefreshRows();
}

void CItemListView::CheckAbort()
{
    if (ItemDoc()) ItemDoc()->CheckAbort();
}

bool CItemListView::WroteBackEditFrame()
{
    return ItemDoc() && ItemDoc()->WriteBackEditFrame();
}

// ---- Item operations ----------------------------------------------------

CZibItemDoc& CItemListView::ItemModel() const
{
    return ItemDoc()->Model();
}

int CItemListView::RowCount() const
{
    return ItemModel().RowCount();
}

std::optional<std::string> CItemListView::FocusedItemName() const
{
    const long row = List() ? List()->FocusedRow() : -1;
    if (row < 0 || row >= RowCount()) return std::nullopt;
    return ItemModel().RowItem(int(row)).NameText();
}

int CItemListView::ItemCount() const
{
    return ItemDoc() ? RowCount() : 0;
}

uint64_t CItemListView::TotalItemSize() const
{
    if (!ItemDoc()) return 0;
    uint64_t total = 0;
    for (int r = 0; r < RowCount(); ++r)
        total += ItemModel().RowItem(r).Size();
    return total;
}

std::vector<int> CItemListView::Drop(const StyClipboardBlock& block, int row, bool fromThisView, bool move,
                                     const std::vector<int>& dragged)
{
    CZibItemDoc& model = ItemModel();
    const bool wasEmpty = model.ItemCount() == 0;
    const std::vector<int> rows = model.DropBlock(block, row, fromThisView, move, dragged).rows;
    if (wasEmpty && !rows.empty()) Refill();
    return rows;
}

void CItemListView::DeleteRows(const std::vector<int>& rows, int focused)
{
    if (ItemModel().StsView()) return;
    ItemDoc()->CloseToolWindows();
    ItemModel().DeleteSelectedItems(rows, focused);
    if (List()) List()->SelectOnly({}, -1);
    AfterRowsChanged();
}

// ---- Commands -----------------------------------------------------------

StyListState CItemListView::State() const
{
    StyListState s = StyListState::Of(ItemModel(), List()->SelectedRows(), int(List()->FocusedRow()));
    s.formatRegistered = ZibClipboardFormatRegistered();
    return s;
}

std::optional<StyCommand> CItemListView::CommandOf(int id) const
{
    return StyCommandOfId(id);
}

void CItemListView::OnCommand(wxCommandEvent& event)
{
    const std::optional<StyCommand> command = CommandOf(cmd::FromWxId(event.GetId()));
    if (!command || !list_) return;
    if (ItemDoc()) ItemDoc()->RefreshSettings();
    if (!StyCommandWritesBackFirst(*command) || WroteBackEditFrame()) RunCommand(*command);
    CheckAbort();
}

void CItemListView::OnUpdateCommand(wxUpdateUIEvent& event)
{
    const std::optional<StyCommand> command = CommandOf(cmd::FromWxId(event.GetId()));
    event.Enable(command && list_ && ItemDoc() && CommandEnabled(*command));
}

void CItemListView::RunCommand(StyCommand command)
{
    const int focused = int(list_->FocusedRow());
    CZibItemDoc& model = ItemModel();
    const auto showChangedRows = [this] {
        AfterRowsChanged();
        RefreshRows();
    };
    switch (command) {
    case StyCommand::Paste:
        model.OnEditPaste();
        showChangedRows();
        break;
    case StyCommand::Empty:
        model.OnEditEmpty();
        showChangedRows();
        break;
    case StyCommand::ImportItems:
        // The windows close only once an import goes ahead (see CZibItemDoc).
        model.ImportItem();
        showChangedRows();
        break;
    case StyCommand::ExtractItem:
        model.OnEditExtract();
        break;
    case StyCommand::ExtractAll:
        model.OnEditExtractAll();
        break;
    case StyCommand::Copy:
        Copy(wxDragNone);
        break;
    case StyCommand::Cut:
        ItemDoc()->CloseToolWindows();
        Copy(wxDragNone);
        DeleteRows(list_->SelectedRows(), focused);
        RefreshRows();
        break;
    case StyCommand::SelectAll:
        for (long r = 0; r < list_->GetItemCount(); ++r)
            list_->Select(r, true);
        break;
    case StyCommand::Rename:
        if (focused >= 0 && model.RenameLimit(focused) > 0) {
            ItemDoc()->CloseToolWindows();
            list_->EditLabel(focused);
        }
        break;
    case StyCommand::MoveUp:
    case StyCommand::MoveDown: {
        const int direction = command == StyCommand::MoveDown ? +1 : -1;
        if (focused < 0) break;
        ItemDoc()->CloseToolWindows();
        if (!model.MoveItem(direction, focused)) break;
        RefreshRows();
        list_->SelectOnly({focused + direction}, focused + direction);
        list_->EnsureVisible(focused + direction);
        AfterRowsChanged();
        break;
    }
    case StyCommand::Delete:
        ItemDoc()->CloseToolWindows();
        DeleteRows(list_->SelectedRows(), focused);
        RefreshRows();
        break;
    case StyCommand::Properties:
        OpenProperties();
        break;
    default:
        break;
    }
}

// ---- List events --------------------------------------------------------

void CItemListView::OnKeyDown(wxListEvent& event)
{
    if (event.GetKeyCode() == WXK_DELETE) {
        if (CommandEnabled(StyCommand::Delete) && WroteBackEditFrame()) RunCommand(StyCommand::Delete);
        CheckAbort();
        return;
    }
    event.Skip();
}

void CItemListView::OnBeginLabelEdit(wxListEvent& event)
{
    const int limit = ItemModel().RenameLimit(int(event.GetIndex()));
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
    ItemModel().RenameItem(int(event.GetIndex()), ItemTextFromWx(event.GetLabel()));
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

void CItemListView::OnRightClick()
{
    if (labelEdit_) return;
    ShowPopup(PopupMenuDef(), [this](int id) -> std::optional<bool> {
        const std::optional<StyCommand> command = CommandOf(id);
        if (!command) return std::nullopt;
        return PopupEnabled(*command);
    });
}

void CItemListView::OnActivated(wxListEvent&)
{
    // The open frame goes for the row's own: its edit is written back first.
    if (WroteBackEditFrame()) OpenProperties();
    CheckAbort();
}

void CItemListView::ShowPopup(const std::vector<MenuItemDef>& items,
                              const std::function<std::optional<bool>(int id)>& enabled)
{
    std::unique_ptr<wxMenu> menu(BuildPopupMenu(items, Shell().Language()));
    // The popup's enabling and its chosen command go through this view.
    for (wxMenuItem* item : menu->GetMenuItems()) {
        if (item->IsSeparator()) continue;
        if (const std::optional<bool> on = enabled(cmd::FromWxId(item->GetId()))) {
            item->Enable(*on);
            continue;
        }
        wxUpdateUIEvent update(item->GetId());
        update.SetEventObject(menu.get());
        ProcessEvent(update);
        if (update.GetSetEnabled()) item->Enable(update.GetEnabled());
        if (update.GetSetChecked() && item->IsCheckable()) item->Check(update.GetChecked());
    }
    // The command runs once the menu has gone, so that the windows and
    // dialogs it opens take the pointer and the keys.
    const int chosen = list_->GetPopupMenuSelectionFromUser(*menu);
    if (chosen == wxID_NONE) return;
    wxCommandEvent command(wxEVT_MENU, chosen);
    ProcessEvent(command);
}

// ---- Clipboard ----------------------------------------------------------

void CItemListView::Copy(wxDragResult effects)
{
    if (!ZibClipboardFormatRegistered() || !list_) return;
    const std::vector<int> rows = list_->SelectedRows();
    const std::optional<StyClipboardBlock> block = ItemModel().CopyBlock(rows, int(list_->FocusedRow()));
    if (!block) return;
    const std::vector<uint8_t> bytes = block->Bytes();
    if (effects == wxDragNone) {
        if (!PutClipboardBlock(bytes))
            ShowStyNotice(StyNotice::Numbered(stymsg::CannotCopyToClipboard, "CopyToClipboard"));
        return;
    }
    wxCustomDataObject data(ZibClipboardFormat());
    data.SetData(bytes.size(), bytes.data());
    wxDropSource source(data, list_);
    dragSource_ = dragRunning_ = true;
    dragged_ = rows;
    const wxDragResult result = source.DoDragDrop(effects == wxDragMove ? wxDrag_AllowMove : wxDrag_CopyOnly);
    FinishBlockDrag(result == wxDragMove);
}

void CItemListView::SelectAfterPaste(const std::vector<int>& rows)
{
    RefreshRows();
    if (rows.empty() || !list_) return;
    list_->SelectOnly(rows, rows.front());
    list_->EnsureVisible(rows.back());
}

// ---- Drag and drop ------------------------------------------------------

// A drag carries the items as they are written back; a write-back that
// fails starts no drag.
void CItemListView::OnBeginDrag(wxListEvent&)
{
    if (!WroteBackEditFrame()) return CheckAbort();
    ItemDoc()->CloseToolWindows();
    Copy(wxDragMove);
}

void CItemListView::OnBeginRightDrag(wxListEvent&)
{
    if (!WroteBackEditFrame()) return CheckAbort();
    ItemDoc()->CloseToolWindows();
    Copy(wxDragCopy);
}

std::optional<std::vector<uint8_t>> CItemListView::StartBlockDrag()
{
    if (!list_ || !ItemDoc()) return std::nullopt;
    if (!WroteBackEditFrame()) {
        CheckAbort();
        return std::nullopt;
    }
    ItemDoc()->CloseToolWindows();
    dragged_ = list_->SelectedRows();
    const std::optional<StyClipboardBlock> block = ItemModel().CopyBlock(dragged_, int(list_->FocusedRow()));
    if (!block) return std::nullopt;
    dragSource_ = dragRunning_ = true;
    return block->Bytes();
}

void CItemListView::FinishBlockDrag(bool moved)
{
    // A move into another window takes the dragged rows away from here.
    if (moved && dragSource_ && list_) {
        DeleteRows(dragged_, -1);
        RefreshRows();
    }
    dragSource_ = dragRunning_ = false;
    dragged_.clear();
    CheckAbort();
}

bool CItemListView::TakeBlockDrop(const std::vector<uint8_t>& bytes, int row, bool move)
{
    const std::optional<StyClipboardBlock> block = StyClipboardBlock::Read(bytes);
    if (!block || !list_) return false;
    return !DropAt(*block, row, move).empty();
}

wxDragResult CItemListView::DragOver(wxCoord x, wxCoord y)
{
    if (!list_) return wxDragNone;
    // Near the top or bottom row the list scrolls on.
    int flags = 0;
    const long row = list_->HitTest(wxPoint(x, y), flags);
    const long top = list_->GetTopItem();
    if (top > 0 && ((row != -1 && row <= top) || (row == -1 && y < 8))) list_->EnsureVisible(top - 1);
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
    const std::vector<int> rows = DropAt(*block, int(row), def == wxDragMove);
    return rows.empty() ? wxDragNone : def;
}

std::vector<int> CItemListView::DropAt(const StyClipboardBlock& block, int row, bool move)
{
    ItemDoc()->RefreshSettings();
    const bool fromThisView = dragSource_;
    const std::vector<int> rows = Drop(block, row, fromThisView, move, fromThisView ? dragged_ : std::vector<int>());
    // The dragged rows of this view are gone already.
    if (fromThisView && move && !rows.empty()) dragSource_ = false;
    SelectAfterPaste(rows);
    AfterRowsChanged();
    CheckAbort();
    return rows;
}

} // namespace zib
