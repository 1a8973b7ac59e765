#include "docs/program/CProgramListView.h"

#include "ui/ShellServices.h"
#include "ui/CZibDocTemplate.h"
#include "ui/MenuBuilder.h"
#include "ui/core/CommandIds.h"
#include "docs/program/CProgramWxDoc.h"
#include "docs/program/ProgramIcons.h"
#include "docs/program/core/ProgramMenus.h"
#include "platform/WxText.h"
#include "platform/ZibClipboardFormat.h"
#include "platform/ZibDropTarget.h"

#include <wx/imaglist.h>
#include <wx/sizer.h>

namespace zib {

CProgramListView::~CProgramListView()
{
    // The list window may paint until it goes; it no longer asks this view.
    if (list_) list_->ForgetCellTexts();
    if (ShellServices* shell = ShellServices::Get()) shell->ShowToolbarsForActiveFrame();
}

CProgramWxDoc* CProgramListView::Doc() const
{
    return dynamic_cast<CProgramWxDoc*>(GetDocument());
}

bool CProgramListView::OnCreate(wxDocument* doc, long flags)
{
    if (!wxView::OnCreate(doc, flags)) return false;
    auto* programDoc = dynamic_cast<CProgramWxDoc*>(doc);
    auto* tmpl = dynamic_cast<CZibDocTemplate*>(doc->GetDocumentTemplate());
    if (!programDoc || !tmpl) return false;
    CZibMdiChild* frame = tmpl->CreateChildFrame(doc, this);
    if (!frame) return false;
    list_ = new CProgramListCtrl(frame, [this](int row, int column) { return CellText(row, column); });
    port_ = std::make_unique<WxProgramDocPort>(list_, [this] { Fill(); });
    port_->SetRowCounter([this] { return RowCount(); });
    programDoc->Base().SetPort(port_.get());
    if (ZibClipboardFormatRegistered())
        list_->SetDropTarget(new ZibDropTarget([this](wxCoord x, wxCoord y) { return DragOver(x, y); },
                                               [this](const std::vector<uint8_t>& block, wxCoord x, wxCoord y,
                                                      wxDragResult def) { return Drop(block, x, y, def); }));
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(list_, 1, wxEXPAND);
    frame->SetSizer(sizer);
    SetFrame(frame);

    list_->Bind(wxEVT_LIST_BEGIN_DRAG, [this](wxListEvent& e) { OnBeginDrag(e, true); });
    list_->Bind(wxEVT_LIST_BEGIN_RDRAG, [this](wxListEvent& e) { OnBeginDrag(e, false); });
    list_->BindContextMenu([this] { OnRightClick(); });
    list_->Bind(wxEVT_LIST_BEGIN_LABEL_EDIT, &CProgramListView::OnBeginLabelEdit, this);
    list_->Bind(wxEVT_LIST_END_LABEL_EDIT, &CProgramListView::OnEndLabelEdit, this);
    list_->Bind(wxEVT_LIST_KEY_DOWN, &CProgramListView::OnKeyDown, this);
    list_->Bind(wxEVT_LIST_COL_CLICK, [this](wxListEvent& e) {
        ColumnClicked(e.GetColumn());
        Doc()->AfterCommand();
    });
    list_->Bind(wxEVT_LIST_ITEM_ACTIVATED, [this](wxListEvent&) {
        Activated();
        Doc()->AfterCommand();
    });
    BindViewCommands();
    Fill();
    frame->Show(true);
    Activate(true);
    return true;
}

void CProgramListView::BindCommand(int id, std::function<void()> action, std::function<bool()> enabled)
{
    Bind(wxEVT_MENU, [this, action](wxCommandEvent&) {
        action();
        Doc()->AfterCommand();
    }, cmd::ToWxId(id));
    Bind(wxEVT_UPDATE_UI, [enabled](wxUpdateUIEvent& e) { e.Enable(enabled()); }, cmd::ToWxId(id));
}

void CProgramListView::Fill()
{
    if (!list_) return;
    list_->Freeze();
    std::vector<CProgramListCtrl::Column> columns = Columns();
    list_->Rebuild(columns, RowCount());
    auto* images = new wxImageList(16, 16, true, 1);
    images->Add(ProgramIconBitmap(IconResource()));
    list_->AssignImageList(images, wxIMAGE_LIST_SMALL);
    list_->Thaw();
    if (wxWindow* frame = GetFrame())
        if (auto* child = dynamic_cast<CZibMdiChild*>(frame)) child->SetIcon(ProgramIcon(IconResource()));
}

void CProgramListView::OnUpdate(wxView*, wxObject*)
{
    if (list_ && list_->GetColumnCount() == int(Columns().size())) {
        list_->SetRowCount(RowCount());
        list_->Refresh();
    } else {
        Fill();
    }
}

bool CProgramListView::OnClose(bool deleteWindow)
{
    if (!wxView::OnClose(deleteWindow)) return false;
    Activate(false);
    if (Doc()) Doc()->Base().SetPort(nullptr);
    if (deleteWindow && GetFrame()) {
        // The window goes later; until then its list does not ask this view.
        if (list_) list_->ForgetCellTexts();
        GetFrame()->Destroy();
        SetFrame(nullptr);
        list_ = nullptr;
    }
    return true;
}

void CProgramListView::OnActivateView(bool activate, wxView*, wxView*)
{
    if (!activate) return;
    if (ShellServices* shell = ShellServices::Get()) shell->ShowToolbarsForActiveFrame();
    if (list_) list_->Refresh();
}

std::optional<std::string> CProgramListView::FocusedItemName() const
{
    const int row = list_ ? list_->FocusedRow() : -1;
    return row >= 0 ? ItemName(row) : std::nullopt;
}

uint64_t CProgramListView::TotalItemSize() const
{
    uint64_t total = 0;
    for (int row = 0; row < RowCount(); ++row)
        total += ItemSize(row);
    return total;
}

// Drag and drop

void CProgramListView::OnBeginDrag(wxListEvent&, bool move)
{
    if (!ZibClipboardFormatRegistered()) return;
    const auto block = BeginDrag();
    if (!block) return;
    wxCustomDataObject data(ZibClipboardFormat());
    data.SetData(block->size(), block->data());
    wxDropSource source(data, list_);
    const wxDragResult result = source.DoDragDrop(move ? wxDrag_AllowMove : wxDrag_CopyOnly);
    EndDrag(result == wxDragMove);
    Doc()->AfterCommand();
}

void CProgramListView::FinishBlockDrag(bool moved)
{
    EndDrag(moved);
    Doc()->AfterCommand();
}

bool CProgramListView::TakeBlockDrop(const std::vector<uint8_t>& block, int row, bool move)
{
    const bool taken = DropBlock(block, row, move);
    Doc()->AfterCommand();
    return taken;
}

wxDragResult CProgramListView::DragOver(wxCoord x, wxCoord y)
{
    // Near the first or last visible row the list scrolls by one row.
    const long top = list_->GetTopItem();
    const long pageEnd = top + list_->GetCountPerPage();
    const int row = list_->RowAt(wxPoint(x, y));
    if (top > 0 && (row == top || (row < 0 && y < 8))) list_->EnsureVisible(top - 1);
    if (pageEnd < list_->GetItemCount() && row >= pageEnd - 1) list_->EnsureVisible(pageEnd);
    return wxGetMouseState().LeftIsDown() ? wxDragMove : wxDragCopy;
}

wxDragResult CProgramListView::Drop(const std::vector<uint8_t>& bytes, wxCoord x, wxCoord y, wxDragResult effect)
{
    const bool dropped = DropBlock(bytes, list_->RowAt(wxPoint(x, y)), effect == wxDragMove);
    Doc()->AfterCommand();
    return dropped ? effect : wxDragNone;
}

// List events

void CProgramListView::ShowPopup(const std::vector<MenuItemDef>& items, const std::function<void(wxMenu&)>& prepare)
{
    std::unique_ptr<wxMenu> menu(BuildPopupMenu(items, Shell().Language()));
    if (prepare) prepare(*menu);
    // The command runs once the menu has gone, on this view and its document.
    const int chosen = list_->GetPopupMenuSelectionFromUser(*menu);
    if (chosen == wxID_NONE) return;
    wxCommandEvent command(wxEVT_MENU, chosen);
    ProcessEvent(command);
}

void CProgramListView::OnRightClick()
{
    if (labelEdit_) return;
    const auto items = PopupMenu();
    if (items.empty()) return;
    ShowPopup(items, [this](wxMenu& menu) { EnablePopup(menu); });
}

void CProgramListView::OnBeginLabelEdit(wxListEvent& event)
{
    if (!CanBeginLabelEdit(int(event.GetIndex()))) {
        event.Veto();
        return;
    }
    labelEdit_ = true;
}

void CProgramListView::OnEndLabelEdit(wxListEvent& event)
{
    labelEdit_ = false;
    // The list holds no texts of its own: the model keeps the name.
    event.Veto();
    if (event.IsEditCancelled()) return;
    EndLabelEdit(int(event.GetIndex()), wxToCp1252(event.GetLabel()));
    Doc()->AfterCommand();
}

void CProgramListView::OnKeyDown(wxListEvent& event)
{
    if (event.GetKeyCode() != WXK_DELETE || !HasItems()) {
        event.Skip();
        return;
    }
    KeyDelete();
    Doc()->AfterCommand();
}

} // namespace zib
