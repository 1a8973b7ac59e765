#include "docs/style/CZibStyView.h"

#include "app/CZibApp.h"
#include "app/CZibFileDialog.h"
#include "app/ZibMessageBox.h"
#include "app/core/CommandIds.h"
#include "app/texts/ZibMessageTable.h"
#include "docs/style/core/StyCommandIds.h"
#include "docs/style/core/StyMenus.h"
#include "docs/style/CZibStyWxDoc.h"
#include "docs/style/StyleDocTools.h"
#include "docs/style/StyleGuiSupport.h"
#include "midi/ValueTexts.h"
#include "platform/Cp1252.h"
#include "platform/WxText.h"
#include "platform/ZibClipboardFormat.h"

#include <filesystem>
#include <wx/utils.h>

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CZibStyView, wxView);

namespace {

// The glyph of a model's icon in the list.
std::string modelGlyph(uint32_t model)
{
    switch (model) {
    case '9':
        return "W8";
    case '<':
        return "W6";
    case 'H':
        return "WT";
    case 'I':
        return "41";
    case 'M':
        return "65";
    case 'F':
    case 'X':
        return "Qe";
    default:
        return "?";
    }
}

} // namespace

CZibStyView::CZibStyView() = default;

CZibStyWxDoc* CZibStyView::Doc() const
{
    return dynamic_cast<CZibStyWxDoc*>(GetDocument());
}

CZibStyDoc& CZibStyView::Model() const
{
    return Doc()->Model();
}

bool CZibStyView::StsView() const
{
    return Model().IsQe() && Model().m_ViewMode == 2;
}

bool CZibStyView::OnCreate(wxDocument* doc, long flags)
{
    if (!CItemListView::OnCreate(doc, flags)) return false;
    auto bind = [this](int id, void (CZibStyView::*handler)(wxCommandEvent&),
                       void (CZibStyView::*update)(wxUpdateUIEvent&)) {
        if (handler) Bind(wxEVT_MENU, handler, this, cmd::ToWxId(id));
        if (update) Bind(wxEVT_UPDATE_UI, update, this, cmd::ToWxId(id));
    };
    bind(stycmd::EditPaste, &CZibStyView::OnPaste, &CZibStyView::OnUpdatePaste);
    bind(stycmd::EditCopy, nullptr, &CZibStyView::OnUpdateCopy);
    bind(stycmd::EditCut, nullptr, &CZibStyView::OnUpdateCopy);
    bind(stycmd::DeleteItems, nullptr, &CZibStyView::OnUpdateDelete);
    bind(stycmd::EmptyItem, &CZibStyView::OnEmpty, &CZibStyView::OnUpdateHasItems);
    bind(stycmd::ExtractItem, &CZibStyView::OnExtract, nullptr);
    bind(stycmd::ImportItems, &CZibStyView::OnImport, nullptr);
    bind(stycmd::RenameItem, nullptr, &CZibStyView::OnUpdateRename);
    bind(stycmd::Properties, nullptr, &CZibStyView::OnUpdateProperties);
    bind(stycmd::StsView, &CZibStyView::OnStsView, &CZibStyView::OnUpdateStsView);
    bind(stycmd::FileSave, &CZibStyView::OnSave, &CZibStyView::OnUpdateHasItems);
    bind(stycmd::FileSaveAs, &CZibStyView::OnSaveAs, &CZibStyView::OnUpdateHasItems);
    bind(stycmd::FileClose, &CZibStyView::OnCloseDocument, nullptr);
    Bind(wxEVT_MENU, &CZibStyView::OnStyleElement, this, cmd::ToWxId(stycmd::ElementFirst),
         cmd::ToWxId(stycmd::ElementLast));
    Bind(wxEVT_UPDATE_UI, &CZibStyView::OnUpdateStyleElement, this, cmd::ToWxId(stycmd::ElementFirst),
         cmd::ToWxId(stycmd::ElementLast));
    Bind(wxEVT_MENU, &CZibStyView::OnBank, this, cmd::ToWxId(stycmd::BankFirst), cmd::ToWxId(stycmd::BankLast));
    Bind(wxEVT_UPDATE_UI, &CZibStyView::OnUpdateBank, this, cmd::ToWxId(stycmd::BankFirst),
         cmd::ToWxId(stycmd::BankLast));
    return true;
}

void CZibStyView::OnActivateView(bool activate, wxView* activeView, wxView* deactiveView)
{
    CItemListView::OnActivateView(activate, activeView, deactiveView);
    if (!activate || !Doc()) return;
    // A Wq item's open edit frame writes its edits back before the list shows them.
    StyleDocTools& tools = GetStyleDocTools();
    if (Model().IsWq() && Doc()->m_StyleEditFrameOpen && tools.writeBackWqEdits) {
        if (tools.writeBackWqEdits(Doc()->m_StyleEditFrame) == -2) {
            Model().Clear();
            Doc()->Modify(false);
        }
    }
    MarkBlocks();
}

// ---- Rows ---------------------------------------------------------------

std::vector<StyColumn> CZibStyView::Columns() const
{
    return StyColumnSet(Model());
}

int CZibStyView::RowCount() const
{
    return StsView() ? Model().StsCount() : Model().StyCount();
}

std::vector<std::string> CZibStyView::ImageGlyphs() const
{
    // Image 0 the model icon, 1 a Qe9z item.
    return {modelGlyph(Model().m_Model), "9z"};
}

int CZibStyView::FirstWideColumn() const
{
    if (StsView()) return -1;
    return Model().IsQe() ? 5 : 4;
}

std::string CZibStyView::ListCellText(long row, long column) const
{
    return cp1252ToUtf8(StyCellText(Model(), int(row), int(column), currentElement_));
}

int CZibStyView::ListRowImage(long row) const
{
    return Model().IsQe() ? StyRowImage(Model(), int(row)) : 0;
}

bool CZibStyView::ListRowMarked(long row) const
{
    return row >= 0 && size_t(row) < tooLarge_.size() && tooLarge_[size_t(row)];
}

std::optional<std::string> CZibStyView::FocusedItemName() const
{
    const long row = List() ? List()->FocusedRow() : -1;
    const auto& items = StsView() ? Model().m_StsItems : Model().m_StyItems;
    if (row < 0 || size_t(row) >= items.size()) return std::nullopt;
    return items[size_t(row)].NameText();
}

int CZibStyView::ItemCount() const
{
    return Doc() ? RowCount() : 0;
}

uint64_t CZibStyView::TotalItemSize() const
{
    uint64_t total = 0;
    if (!Doc()) return 0;
    for (const CStyItem& item : StsView() ? Model().m_StsItems : Model().m_StyItems)
        total += item.Size();
    return total;
}

void CZibStyView::MarkBlocks()
{
    const FileSizeCheck check = CheckFileSize(Model(), false);
    tooLarge_ = check.tooLarge;
    if (List() && !check.select.empty() && !dragRunning_)
        for (int r : check.select)
            List()->Select(r, true);
    RefreshRows();
}

// ---- Item operations ----------------------------------------------------

int CZibStyView::RenameLimitOf(int row) const
{
    return Model().RenameLimit(row);
}

bool CZibStyView::Rename(int row, const std::string& text)
{
    return Model().RenameItem(row, text);
}

std::optional<StyClipboardBlock> CZibStyView::CopyBlockOf(const std::vector<int>& rows, int focused)
{
    return Model().CopyBlock(rows, focused);
}

std::vector<int> CZibStyView::Drop(const StyClipboardBlock& block, int row, bool fromThisView, bool move,
                                   const std::vector<int>& dragged)
{
    const bool wasEmpty = Model().StyCount() == 0;
    const std::vector<int> rows = Model().DropBlock(block, row, fromThisView, move, dragged).rows;
    if (wasEmpty && !rows.empty()) Refill();
    MarkBlocks();
    return rows;
}

void CZibStyView::DeleteRows(const std::vector<int>& rows, int focused)
{
    if (StsView()) return;
    CloseToolWindows();
    Model().DeleteSelectedItems(rows, focused);
    if (List()) List()->SelectOnly({}, -1);
    MarkBlocks();
}

bool CZibStyView::MoveRow(int direction, int row)
{
    const bool moved = Model().MoveItem(direction, row);
    if (moved && !dragRunning_) MarkBlocks();
    return moved;
}

bool CZibStyView::CanMove() const
{
    return !StsView();
}

void CZibStyView::CloseToolWindows()
{
    if (Doc()) Doc()->CloseToolWindows();
}

void CZibStyView::CheckAbort()
{
    if (Doc()) Doc()->CheckAbort();
}

void CZibStyView::OpenProperties()
{
    const int row = List() ? int(List()->FocusedRow()) : -1;
    if (row < 0 || row >= Model().StyCount() || StsView()) return;
    const CStyItem& item = Model().m_StyItems[size_t(row)];
    if (Model().IsQe() && item.Size() == 0) return;
    // The Wq placeholders have nothing to edit.
    if (Model().IsWq() && item.Size() == (IsWqFamilyB(Model().m_Model) ? 1176u : 1168u)) return;
    StyleDocTools& tools = GetStyleDocTools();
    if (!tools.openStyleEditFrame) return;
    const wxString title = GetDocument()->GetUserReadableName() + " - StyleTree - " + ItemTextToWx(item.NameText());
    if (Doc()->m_StyleEditFrameOpen && Doc()->m_StyleEditFrame) Doc()->m_StyleEditFrame->Close(true);
    Doc()->m_StyleEditFrame = tools.openStyleEditFrame(*Doc(), row, title);
    Doc()->m_StyleEditFrameOpen = Doc()->m_StyleEditFrame ? 1 : 0;
}

std::vector<MenuItemDef> CZibStyView::PopupMenuDef() const
{
    return StyPopupMenuDef();
}

void CZibStyView::ColumnClicked(int column)
{
    if (StsView()) return;
    if (Model().IsQe() && column == 3) return ShowPopup(StyElementMenuDef());
    if (Model().IsQe() && column == 1) return ShowPopup(StyBankMenuDef());
    CItemListView::ColumnClicked(column);
}

// ---- Commands -----------------------------------------------------------

void CZibStyView::OnPaste(wxCommandEvent&)
{
    Model().OnEditPaste();
    CheckAbort();
}

void CZibStyView::OnEmpty(wxCommandEvent&)
{
    Model().OnEditEmpty();
    CheckAbort();
}

void CZibStyView::OnExtract(wxCommandEvent&)
{
    Model().OnEditExtract();
}

void CZibStyView::OnImport(wxCommandEvent&)
{
    Model().ImportItem();
    CheckAbort();
}

void CZibStyView::OnStsView(wxCommandEvent&)
{
    if (!Model().IsQe()) return;
    CloseToolWindows();
    Model().ToggleViewMode();
    Refill();
}

void CZibStyView::OnStyleElement(wxCommandEvent& event)
{
    currentElement_ = StyElementOfCommand(cmd::FromWxId(event.GetId()));
    RefreshRows();
}

void CZibStyView::OnBank(wxCommandEvent& event)
{
    Model().SetBank(StyBankOfCommand(cmd::FromWxId(event.GetId())));
    RefreshRows();
}

void CZibStyView::OnSave(wxCommandEvent&)
{
    GetDocument()->Save();
}

void CZibStyView::OnSaveAs(wxCommandEvent&)
{
    GetDocument()->SaveAs();
}

void CZibStyView::OnCloseDocument(wxCommandEvent&)
{
    GetDocumentManager()->CloseDocument(GetDocument());
}

// ---- Enabling -----------------------------------------------------------

void CZibStyView::OnUpdateCopy(wxUpdateUIEvent& event)
{
    if (StsView()) {
        const long row = List()->FocusedRow();
        event.Enable(row >= 0 && row < Model().StyCount() && Model().m_StyItems[size_t(row)].Size() > 0);
        return;
    }
    event.Enable(Model().StyCount() > 0 && List()->GetSelectedItemCount() > 0);
}

void CZibStyView::OnUpdatePaste(wxUpdateUIEvent& event)
{
    if (StsView())
        event.Enable(List()->GetSelectedItemCount() > 0 && List()->FocusedRow() >= 0 && ClipboardHasBlock());
    else
        event.Enable(ZibClipboardFormatRegistered() && ClipboardHasBlock());
}

void CZibStyView::OnUpdateDelete(wxUpdateUIEvent& event)
{
    event.Enable(Model().StyCount() > 0 && !StsView());
}

void CZibStyView::OnUpdateHasItems(wxUpdateUIEvent& event)
{
    event.Enable(Model().StyCount() > 0);
}

void CZibStyView::OnUpdateRename(wxUpdateUIEvent& event)
{
    const long row = List()->FocusedRow();
    event.Enable(row >= 0 && Model().RenameLimit(int(row)) > 0);
}

void CZibStyView::OnUpdateProperties(wxUpdateUIEvent& event)
{
    const long row = List()->FocusedRow();
    bool enable = row >= 0 && row < Model().StyCount() && !StsView() && GetStyleDocTools().openStyleEditFrame;
    if (enable && Model().IsQe()) enable = Model().m_StyItems[size_t(row)].Size() > 0;
    event.Enable(enable);
}

void CZibStyView::OnUpdateStsView(wxUpdateUIEvent& event)
{
    event.Enable(Model().IsQe());
    if (Model().IsQe())
        event.SetText(wxFromUtf8(ZibMessage(StsView() ? stymsg::ShowStyleView : stymsg::ShowStsView,
                                            wxGetApp().Language())));
}

void CZibStyView::OnUpdateStyleElement(wxUpdateUIEvent& event)
{
    event.Check(StyElementOfCommand(cmd::FromWxId(event.GetId())) == currentElement_);
}

void CZibStyView::OnUpdateBank(wxUpdateUIEvent& event)
{
    const int bank = StyBankOfCommand(cmd::FromWxId(event.GetId()));
    event.Check(bank == Model().m_FirstBank);
    // Bank 17 is reserved.
    event.Enable(bank != 16);
}

} // namespace zib
