#include "docs/style/CStsTreeView.h"

#include "ui/CMainToolBar.h"
#include "ui/ShellServices.h"
#include "ui/MenuBuilder.h"
#include "ui/core/CommandIds.h"
#include "docs/style/CZibStyWxDoc.h"
#include "docs/style/StyleGuiSupport.h"
#include "docs/style/core/CStsItemAccessor.h"
#include "docs/style/core/StsArrangerInfoPageModel.h"
#include "docs/style/core/StsSheetApply.h"
#include "docs/style/core/StsTrackPageModel.h"
#include "docs/style/core/StyCommandIds.h"
#include "docs/style/core/StyTreeMenus.h"
#include "docs/style/dialogs/CStsChunkPropSheet.h"
#include "docs/style/dialogs/CStsPropSheet.h"
#include "platform/WxText.h"

#include <wx/imaglist.h>
#include <wx/menu.h>

namespace zib {

namespace {

class SlotData : public wxTreeItemData {
public:
    explicit SlotData(int value) : value(value) {}
    int value;
};

} // namespace

CStsTreeView::CStsTreeView(wxWindow* parent, CZibStyWxDoc& doc, int row, uint32_t model)
    : wxTreeCtrl(parent, wxID_ANY, wxDefaultPosition, wxSize(600, 100), wxTR_HAS_BUTTONS | wxTR_SINGLE),
      doc_(doc), row_(row), model_(model), tree_(doc.Model(), row)
{
    images_ = new wxImageList(16, 16, true, 4);
    for (const char* glyph : {"STS", "sts", "S", "s"})
        images_->Add(CMainToolBar::GlyphBitmap(glyph));
    SetImageList(images_);
    Bind(wxEVT_TREE_SEL_CHANGED, &CStsTreeView::OnSelChanged, this);
    Bind(wxEVT_TREE_ITEM_RIGHT_CLICK, &CStsTreeView::OnRightClick, this);
    Bind(wxEVT_TREE_ITEM_ACTIVATED, &CStsTreeView::OnActivated, this);
    Bind(wxEVT_TREE_ITEM_COLLAPSING, &CStsTreeView::OnCollapsing, this);
    Bind(wxEVT_MENU, &CStsTreeView::OnPopupCommand, this);
}

CStsTreeView::~CStsTreeView()
{
    delete images_;
}

bool CStsTreeView::FillStsTree(const std::string& rootLabel)
{
    readable_ = tree_.FillStsTree(rootLabel) == 1;
    Refill();
    return readable_;
}

void CStsTreeView::Refill()
{
    Freeze();
    DeleteAllItems();
    const wxTreeItemId root =
        AddRoot(wxFromCp1252(tree_.RootLabel()), tree_.RootImage(), tree_.RootImage(), new SlotData(0));
    for (int slot = 0; slot < 4; ++slot)
        AppendItem(root, wxFromUtf8(CStsItemAccessor::GetSlotName(slot)), tree_.SlotImage(slot),
                   tree_.SlotImage(slot), new SlotData(CStsTreeModel::kFirstSlotData + slot));
    Expand(root);
    Thaw();
}

bool CStsTreeView::CanCopy() const
{
    return readable_ && tree_.CanCopy(tree_.SelectedSlot());
}

void CStsTreeView::OnSelChanged(wxTreeEvent& event)
{
    const wxTreeItemId item = event.GetItem();
    auto* data = item.IsOk() ? dynamic_cast<SlotData*>(GetItemData(item)) : nullptr;
    tree_.Select(data ? data->value : 0);
}

void CStsTreeView::OnCollapsing(wxTreeEvent& event)
{
    // The root stays open.
    if (event.GetItem() == GetRootItem()) event.Veto();
}

void CStsTreeView::OnRightClick(wxTreeEvent& event)
{
    if (event.GetItem().IsOk()) SelectItem(event.GetItem());
    std::unique_ptr<wxMenu> menu(BuildPopupMenu(StsPopupDef(), Shell().Language()));
    menu->Enable(cmd::ToWxId(cmd::EditCut), false);
    menu->Enable(cmd::ToWxId(cmd::EditCopy), CanCopy());
    menu->Enable(cmd::ToWxId(stycmd::Properties), CanCopy());
    // The chosen command runs once the menu has gone (the sheets it opens take the keys).
    const int chosen = GetPopupMenuSelectionFromUser(*menu);
    if (chosen == wxID_NONE) return;
    wxCommandEvent command(wxEVT_MENU, chosen);
    OnPopupCommand(command);
}

void CStsTreeView::OnPopupCommand(wxCommandEvent& event)
{
    switch (cmd::FromWxId(event.GetId())) {
    case cmd::EditCopy:
        OnCopy();
        break;
    case cmd::EditPaste:
        OnPaste();
        break;
    case stycmd::Properties:
        OnProperties();
        break;
    default:
        break;
    }
}

void CStsTreeView::OnActivated(wxTreeEvent&)
{
    OnProperties();
}

void CStsTreeView::OnCopy()
{
    if (CanCopy()) tree_.OnCopy();
}

void CStsTreeView::OnPaste()
{
    const int slot = tree_.SelectedSlot();
    if (!readable_) return;
    tree_.OnPaste();
    Refill();
    // The selection stays on the pasted node.
    if (slot >= 0) {
        wxTreeItemIdValue cookie;
        wxTreeItemId child = GetFirstChild(GetRootItem(), cookie);
        for (int k = 0; k < slot && child.IsOk(); ++k)
            child = GetNextChild(GetRootItem(), cookie);
        if (child.IsOk()) SelectItem(child);
    }
    tree_.Select(slot < 0 ? 0 : CStsTreeModel::kFirstSlotData + slot);
}

void CStsTreeView::OnProperties()
{
    CStyItem* sts = row_ >= 0 && row_ < doc_.Model().StsCount() ? &doc_.Model().m_StsItems[size_t(row_)] : nullptr;
    if (!sts || !CanCopy()) return;
    const int slot = tree_.SelectedSlot();
    if (slot < 0) {
        StsTrackPageModel performance = StsTrackPageModel::StylePerformance(sts->data, model_);
        StsArrangerInfoPageModel arranger(sts->data, model_, StsArrangerInfoPageModel::kStsChunk);
        CStsChunkPropSheet sheet(this, performance, arranger);
        if (sheet.ShowModal() == wxID_OK && ApplyStsChunkSheet(sts->data, performance, arranger))
            doc_.Model().SetModified();
        return;
    }
    const uint8_t ordinal = tree_.SlotOrdinals()[size_t(slot)];
    StsTrackPageModel page = StsTrackPageModel::Realtime(sts->data, model_, slot, ordinal);
    CStsPropSheet sheet(this, CStsItemAccessor::GetSlotName(slot), page);
    if (sheet.ShowModal() == wxID_OK && ApplyStsPage(sts->data, page)) doc_.Model().SetModified();
}

} // namespace zib
