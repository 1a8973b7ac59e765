#include "docs/program/CZibPcgView.h"

#include "app/CMainFrame.h"
#include "app/CZibApp.h"
#include "app/CZibDocTemplate.h"
#include "app/MenuBuilder.h"
#include "app/ZibMessageBox.h"
#include "app/core/CommandIds.h"
#include "app/texts/ZibMessageTable.h"
#include "docs/program/core/PcgMenus.h"
#include "docs/program/CPcgListCtrl.h"
#include "docs/program/dialogs/CPrgPropSheet.h"
#include "docs/program/CZibPcgDoc.h"
#include "platform/WxText.h"
#include "platform/ZibClipboardFormat.h"

#include <algorithm>
#include <wx/aui/framemanager.h>
#include <wx/clipbrd.h>
#include <wx/sizer.h>

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CZibPcgView, wxView);

namespace {

// Drops of the private format on the list go to the view.
class PcgDropTarget : public wxDropTarget {
public:
    PcgDropTarget(CZibPcgView& view, wxListCtrl& list)
        : wxDropTarget(new wxCustomDataObject(ZibClipboardFormat())), view_(view), list_(list)
    {
    }

    wxDragResult OnDragOver(wxCoord x, wxCoord y, wxDragResult) override
    {
        // Near the first or last visible row the list scrolls by one row.
        const long top = list_.GetTopItem();
        const long pageEnd = top + list_.GetCountPerPage();
        int flags = 0;
        const long row = list_.HitTest(wxPoint(x, y), flags);
        if (top > 0 && (row == top || (row < 0 && y < 8))) list_.EnsureVisible(top - 1);
        if (pageEnd < list_.GetItemCount() && row >= pageEnd - 1) list_.EnsureVisible(pageEnd);
        return wxGetMouseState().LeftIsDown() ? wxDragMove : wxDragCopy;
    }

    wxDragResult OnData(wxCoord x, wxCoord y, wxDragResult effect) override
    {
        if (!GetData()) return wxDragNone;
        auto* data = static_cast<wxCustomDataObject*>(GetDataObject());
        const auto* bytes = static_cast<const uint8_t*>(data->GetData());
        return view_.OnDrop(std::vector<uint8_t>(bytes, bytes + data->GetSize()), wxPoint(x, y), effect);
    }

private:
    CZibPcgView& view_;
    wxListCtrl& list_;
};

wxMenu* popupMenu(const std::vector<MenuItemDef>& items)
{
    std::unique_ptr<wxMenuBar> bar(BuildMenuBar({MenuPopup("-", items)}, wxGetApp().Language(), {}));
    return bar->Remove(0);
}

bool clipboardHasBlock()
{
    if (!ZibClipboardFormatRegistered()) return false;
    if (!wxTheClipboard->Open()) return false;
    const bool has = wxTheClipboard->IsSupported(ZibClipboardFormat());
    wxTheClipboard->Close();
    return has;
}

} // namespace

CZibPcgDoc* CZibPcgView::Doc() const
{
    return dynamic_cast<CZibPcgDoc*>(GetDocument());
}

// Creation and the frame

bool CZibPcgView::OnCreate(wxDocument* doc, long flags)
{
    if (!wxView::OnCreate(doc, flags)) return false;
    auto* pcgDoc = dynamic_cast<CZibPcgDoc*>(doc);
    auto* tmpl = dynamic_cast<CZibDocTemplate*>(doc->GetDocumentTemplate());
    if (!pcgDoc || !tmpl) return false;
    CZibMdiChild* frame = tmpl->CreateChildFrame(doc, this);
    if (!frame) return false;
    model_ = std::make_unique<PcgListModel>(pcgDoc->Model());
    list_ = new CPcgListCtrl(frame, *model_);
    list_->SetDropTarget(new PcgDropTarget(*this, *list_));
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(list_, 1, wxEXPAND);
    frame->SetSizer(sizer);
    SetFrame(frame);
    BindCommands();

    // The MoveItem bar serves every item list; it gets its buttons once.
    if (CMainFrame* main = CMainFrame::Get())
        if (CMainToolBar* bar = main->Toolbar(MainBar::MoveItem); bar && bar->ButtonCount() == 0) {
            bar->SetButtons({{pcgcmd::MoveItemUp, "Move item UP", "UP"}, {pcgcmd::MoveItemDown, "Move item DOWN", "DN"}},
                            wxGetApp().Language());
            // The docked bar grows to its new buttons.
            if (wxAuiManager* manager = wxAuiManager::GetManager(bar)) {
                manager->GetPane(bar).BestSize(bar->GetBestSize());
                manager->Update();
            }
        }
    Fill();
    frame->Show(true);
    Activate(true);
    return true;
}

void CZibPcgView::BindCommands()
{
    const auto on = [this](int id, void (CZibPcgView::*handler)(wxCommandEvent&),
                           void (CZibPcgView::*update)(wxUpdateUIEvent&)) {
        Bind(wxEVT_MENU, handler, this, cmd::ToWxId(id));
        Bind(wxEVT_UPDATE_UI, update, this, cmd::ToWxId(id));
    };
    on(pcgcmd::MoveItemUp, &CZibPcgView::OnMoveUp, &CZibPcgView::OnUpdateMove);
    on(pcgcmd::MoveItemDown, &CZibPcgView::OnMoveDown, &CZibPcgView::OnUpdateMove);
    on(cmd::EditCopy, &CZibPcgView::OnEditCopy, &CZibPcgView::OnUpdateCopy);
    on(cmd::EditCut, &CZibPcgView::OnEditCut, &CZibPcgView::OnUpdateCopy);
    on(cmd::EditPaste, &CZibPcgView::OnEditPaste, &CZibPcgView::OnUpdatePaste);
    on(pcgcmd::RenameItem, &CZibPcgView::OnRename, &CZibPcgView::OnUpdateRename);
    on(pcgcmd::StsView, &CZibPcgView::OnStsView, &CZibPcgView::OnUpdateStsView);
    on(pcgcmd::Properties, &CZibPcgView::OnProperties, &CZibPcgView::OnUpdateProperties);

    list_->Bind(wxEVT_LIST_BEGIN_DRAG, &CZibPcgView::OnBeginDrag, this);
    list_->Bind(wxEVT_LIST_BEGIN_RDRAG, &CZibPcgView::OnBeginRDrag, this);
    list_->Bind(wxEVT_LIST_ITEM_RIGHT_CLICK, &CZibPcgView::OnRightClick, this);
    list_->Bind(wxEVT_LIST_BEGIN_LABEL_EDIT, &CZibPcgView::OnBeginLabelEdit, this);
    list_->Bind(wxEVT_LIST_END_LABEL_EDIT, &CZibPcgView::OnEndLabelEdit, this);
    list_->Bind(wxEVT_LIST_KEY_DOWN, &CZibPcgView::OnKeyDown, this);
    list_->Bind(wxEVT_LIST_COL_CLICK, &CZibPcgView::OnColumnClick, this);
    list_->Bind(wxEVT_LIST_ITEM_ACTIVATED, &CZibPcgView::OnActivated, this);
    list_->Bind(wxEVT_MENU, &CZibPcgView::OnBankRange, this, pcgcmd::BankFirst,
                pcgcmd::BankFirst + pcgcmd::BankCount - 1);
}

void CZibPcgView::OnUpdate(wxView*, wxObject*)
{
    // Rows edited in place keep their selection and focus.
    if (list_ && model_ && list_->GetItemCount() == model_->RowCount() &&
        list_->GetColumnCount() == int(model_->Columns().size()))
        RefreshRows();
    else
        Fill();
}

bool CZibPcgView::OnClose(bool deleteWindow)
{
    if (!wxView::OnClose(deleteWindow)) return false;
    Activate(false);
    if (deleteWindow && GetFrame()) {
        GetFrame()->Destroy();
        SetFrame(nullptr);
    }
    return true;
}

void CZibPcgView::OnActivateView(bool activate, wxView*, wxView*)
{
    if (activate)
        if (CMainFrame* main = CMainFrame::Get()) main->ShowToolbarsForActiveFrame(5);
}

// The rows

std::vector<int> CZibPcgView::SelectedRows() const
{
    return list_ ? list_->SelectedRows() : std::vector<int>();
}

int CZibPcgView::FocusedRow() const
{
    if (!list_ || !model_) return -1;
    const int row = list_->FocusedRow();
    return row >= 0 && row < model_->RowCount() ? row : -1;
}

void CZibPcgView::Fill()
{
    if (list_) list_->Rebuild(wxGetApp().Language());
}

void CZibPcgView::ClearList()
{
    if (!list_) return;
    list_->ClearAll();
    list_->SetItemCount(0);
}

void CZibPcgView::RefreshRows()
{
    if (list_) list_->Refresh();
}

void CZibPcgView::SelectRows(int first, int count)
{
    if (!list_) return;
    list_->ClearSelection();
    for (int row = first; row < first + count && row < list_->GetItemCount(); ++row)
        list_->SelectRow(row, true);
    if (count > 0) {
        list_->FocusRow(first);
        ShowRow(first + count - 1);
    }
}

void CZibPcgView::SelectAll()
{
    if (!list_) return;
    for (int row = 0; row < list_->GetItemCount(); ++row)
        list_->SelectRow(row, true);
}

void CZibPcgView::ShowRow(int row)
{
    if (list_ && row >= 0 && row < list_->GetItemCount()) list_->EnsureVisible(row);
}

// Status bar

std::optional<std::string> CZibPcgView::FocusedItemName() const
{
    const int row = FocusedRow();
    if (row < 0) return std::nullopt;
    return Doc()->Model().ShownItems()[size_t(row)].NameText();
}

int CZibPcgView::ItemCount() const
{
    return model_ ? model_->RowCount() : 0;
}

uint64_t CZibPcgView::TotalItemSize() const
{
    uint64_t total = 0;
    if (Doc())
        for (const auto& item : Doc()->Model().ShownItems())
            total += item.Size();
    return total;
}

// Commands

void CZibPcgView::MoveFocused(int direction)
{
    const int row = model_->MoveItem(direction, FocusedRow());
    if (row < 0) return;
    SelectRows(row, 1);
    RefreshRows();
    Doc()->SyncModified();
}

void CZibPcgView::OnMoveUp(wxCommandEvent&)
{
    MoveFocused(-1);
}

void CZibPcgView::OnMoveDown(wxCommandEvent&)
{
    MoveFocused(+1);
}

void CZibPcgView::OnUpdateMove(wxUpdateUIEvent& event)
{
    event.Enable(model_ && model_->CanMove(FocusedRow()));
}

void CZibPcgView::CopyToClipboard(bool drag, bool move)
{
    if (!ZibClipboardFormatRegistered()) return;
    const auto block = model_->CopyBlock(SelectedRows());
    if (block.empty()) return;
    auto* data = new wxCustomDataObject(ZibClipboardFormat());
    data->SetData(block.size(), block.data());
    if (!drag) {
        if (wxTheClipboard->Open()) {
            wxTheClipboard->SetData(data);
            wxTheClipboard->Close();
        } else {
            delete data;
            ZibMessageBox(33, "CopyToClipboard", wxOK | wxICON_ERROR, CMainFrame::Get());
        }
        return;
    }
    std::unique_ptr<wxCustomDataObject> owned(data);
    wxDropSource source(*owned, list_);
    dragSource_ = true;
    const wxDragResult result = source.DoDragDrop(move ? wxDrag_AllowMove : wxDrag_CopyOnly);
    // A move that ended in another window takes the rows away from here.
    if (result == wxDragMove && dragSource_) {
        Doc()->Model().DeleteItems(SelectedRows(), -1);
        Fill();
        Doc()->SyncModified();
    }
    dragSource_ = false;
}

void CZibPcgView::OnEditCopy(wxCommandEvent&)
{
    CopyToClipboard(false, false);
}

void CZibPcgView::OnEditCut(wxCommandEvent&)
{
    CopyToClipboard(false, false);
    Doc()->Model().DeleteItems(SelectedRows(), -1);
    Fill();
    Doc()->SyncModified();
}

void CZibPcgView::OnUpdateCopy(wxUpdateUIEvent& event)
{
    event.Enable(model_ && model_->CanCopy(list_->GetSelectedItemCount() > 0));
}

void CZibPcgView::OnUpdatePaste(wxUpdateUIEvent& event)
{
    event.Enable(clipboardHasBlock());
}

void CZibPcgView::AfterPaste(const PcgListModel::PasteResult& result)
{
    if (result.closeDocument) {
        Doc()->CloseAfterFatalError();
        return;
    }
    if (result.pasted == 0) return;
    Fill();
    SelectRows(model_->RowCount() - result.pasted, result.pasted);
    Doc()->SyncModified();
}

void CZibPcgView::OnEditPaste(wxCommandEvent&)
{
    if (!wxTheClipboard->Open()) {
        ZibMessageBox(33, "OnEditPaste", wxOK | wxICON_ERROR, CMainFrame::Get());
        return;
    }
    if (!ZibClipboardFormatRegistered() || !wxTheClipboard->IsSupported(ZibClipboardFormat())) {
        wxTheClipboard->Close();
        return;
    }
    wxCustomDataObject data(ZibClipboardFormat());
    const bool got = wxTheClipboard->GetData(data);
    wxTheClipboard->Close();
    if (!got) {
        ZibMessageBox(34, "OnEditPaste", wxOK | wxICON_ERROR, CMainFrame::Get());
        return;
    }
    const auto* bytes = static_cast<const uint8_t*>(data.GetData());
    AfterPaste(model_->Paste(std::span<const uint8_t>(bytes, data.GetSize()), false, "OnEditPaste"));
}

void CZibPcgView::OnRename(wxCommandEvent&)
{
    const int row = FocusedRow();
    if (row >= 0) list_->EditLabel(row);
}

void CZibPcgView::OnUpdateRename(wxUpdateUIEvent& event)
{
    event.Enable(model_ && model_->CanRename(FocusedRow()));
}

void CZibPcgView::OnStsView(wxCommandEvent&)
{
    model_->ToggleShownList();
    Fill();
}

void CZibPcgView::OnUpdateStsView(wxUpdateUIEvent& event)
{
    const int message = model_ ? model_->StsViewMessage() : -1;
    event.Enable(message >= 0);
    if (message >= 0) event.SetText(wxFromUtf8(ZibMessage(message, wxGetApp().Language())));
}

void CZibPcgView::OnProperties(wxCommandEvent&)
{
    const int row = FocusedRow();
    if (!model_->CanEditProperties(row)) return;
    CPrgPropSheet sheet(CMainFrame::Get(), Doc()->Model(), row);
    if (sheet.ShowModal() != wxID_OK) return;
    sheet.WritePages();
    Doc()->Modify(true);
    Doc()->UpdateAllViews();
}

void CZibPcgView::OnUpdateProperties(wxUpdateUIEvent& event)
{
    event.Enable(model_ && model_->CanEditProperties(FocusedRow()));
}

// List events

void CZibPcgView::OnBeginDrag(wxListEvent&)
{
    CopyToClipboard(true, true);
}

void CZibPcgView::OnBeginRDrag(wxListEvent&)
{
    CopyToClipboard(true, false);
}

void CZibPcgView::OnRightClick(wxListEvent&)
{
    if (labelEdit_) return;
    std::unique_ptr<wxMenu> menu(popupMenu(PcgPopupMenu()));
    const bool empty = model_->RowCount() == 0;
    const bool noSelection = empty || list_->GetSelectedItemCount() == 0;
    menu->Enable(cmd::ToWxId(cmd::EditPaste), clipboardHasBlock());
    for (int id : {cmd::EditCut, cmd::EditCopy, pcgcmd::DeleteItems, pcgcmd::EmptyItem, pcgcmd::ExtractItem,
                   pcgcmd::Properties})
        menu->Enable(cmd::ToWxId(id), !noSelection);
    menu->Enable(cmd::ToWxId(pcgcmd::RenameItem), !empty && FocusedRow() >= 0);
    list_->PopupMenu(menu.get());
}

void CZibPcgView::OnBeginLabelEdit(wxListEvent& event)
{
    if (!model_->CanBeginLabelEdit(int(event.GetIndex()))) {
        event.Veto();
        return;
    }
    labelEdit_ = true;
}

void CZibPcgView::OnEndLabelEdit(wxListEvent& event)
{
    labelEdit_ = false;
    // The list holds no texts of its own: the model keeps the name.
    event.Veto();
    if (event.IsEditCancelled()) return;
    if (model_->EndLabelEdit(int(event.GetIndex()), wxToCp1252(event.GetLabel()))) {
        list_->RefreshItem(event.GetIndex());
        Doc()->SyncModified();
    }
}

void CZibPcgView::OnKeyDown(wxListEvent& event)
{
    if (event.GetKeyCode() != WXK_DELETE) {
        event.Skip();
        return;
    }
    if (!Doc()->Model().DeleteItems(SelectedRows(), FocusedRow())) {
        ZibMessageBox(21, "OnKeyDown", wxOK | wxICON_EXCLAMATION, CMainFrame::Get());
        Doc()->CloseAfterFatalError();
        return;
    }
    Fill();
    Doc()->SyncModified();
}

void CZibPcgView::OnColumnClick(wxListEvent& event)
{
    if (event.GetColumn() != 1 || !Doc()->Model().IsQe()) return;
    std::unique_ptr<wxMenu> menu(popupMenu(PcgBankMenu()));
    for (int b = 0; b < pcgcmd::BankCount; ++b) {
        menu->Enable(pcgcmd::BankFirst + b, b >= 9);
        menu->Check(pcgcmd::BankFirst + b, b == Doc()->Model().firstBank);
    }
    list_->PopupMenu(menu.get());
}

void CZibPcgView::OnBankRange(wxCommandEvent& event)
{
    if (model_->OnBankRange(event.GetId() - pcgcmd::BankFirst)) {
        RefreshRows();
        Doc()->SyncModified();
    }
}

void CZibPcgView::OnActivated(wxListEvent&)
{
    wxCommandEvent properties(wxEVT_MENU, cmd::ToWxId(pcgcmd::Properties));
    OnProperties(properties);
}

// Drop

wxDragResult CZibPcgView::OnDrop(const std::vector<uint8_t>& block, wxPoint point, wxDragResult effect)
{
    int flags = 0;
    const long hit = list_->HitTest(point, flags);
    const int row = hit >= 0 && hit < model_->RowCount() ? int(hit) : -1;
    const auto selected = SelectedRows();
    if (dragSource_ && row >= 0 && !selected.empty() && row >= selected.front() && row <= selected.back()) {
        ZibMessageBox(37, "OnDrop", wxOK | wxICON_EXCLAMATION, CMainFrame::Get());
        return wxDragNone;
    }
    const auto result = model_->Paste(block, dragSource_, "OnDrop");
    if (result.closeDocument) {
        Doc()->CloseAfterFatalError();
        return wxDragNone;
    }
    if (result.pasted == 0) return wxDragNone;
    PcgDocModel& doc = Doc()->Model();
    int target = row;
    if (effect == wxDragMove && dragSource_) {
        // The dragged rows leave first; a target below them moves up with them.
        doc.DeleteItems(selected, -1);
        if (target > selected.back()) target = target + 1 - int(selected.size());
        dragSource_ = false;
    }
    if (target >= 0) model_->ArrangeDropped(result.pasted, target);
    PcgDocModel::RenumberPositions(doc.ShownItems());
    doc.modified = true;
    Fill();
    const int first = target >= 0 ? target : model_->RowCount() - result.pasted;
    SelectRows(first, result.pasted);
    Doc()->SyncModified();
    return effect;
}

} // namespace zib
