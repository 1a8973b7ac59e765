#include "devices/dialogs/CConfigureInstrumentsDlg.h"

#include "ui/ShellServices.h"
#include "ui/core/ZibSettings.h"
#include "ui/CZibFileDialog.h"
#include "ui/ZibMessageBox.h"
#include "ui/texts/ZibMessageTable.h"
#include "devices/core/CInstrumentStore.h"
#include "devices/core/InstrumentFileDialogs.h"
#include "platform/WxText.h"

#include <wx/button.h>
#include <wx/menu.h>
#include <wx/stattext.h>
#include <wx/treectrl.h>
#include <wx/utils.h>

namespace zib {

namespace {

// What a tree item stands for: its level, and for an instrument its name.
class TreeItemData : public wxTreeItemData {
public:
    TreeItemData(InstrumentTreeItem::Level level, std::string text) : level(level), text(std::move(text)) {}
    InstrumentTreeItem::Level level;
    std::string text; // Windows-1252 bytes
};

wxString fileDialogFolder()
{
    return wxFromUtf8(InstrumentDialogFolder(Shell().Settings().LastOpenedDirectory));
}

} // namespace

CConfigureInstrumentsDlg::CConfigureInstrumentsDlg(wxWindow* parent, CInstrumentStore& store)
    : CZibDialog(parent, "Configure Instruments", wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER), store_(store)
{
    SetTitle(wxFromUtf8(ZibMessage(109, Shell().Language())));
    auto* content = new wxBoxSizer(wxVERTICAL);
    tree_ = new wxTreeCtrl(this, kIdTree, wxDefaultPosition, wxSize(420, 360),
                           wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_SINGLE);
    content->Add(tree_, 1, wxEXPAND);
    status_ = new wxStaticText(this, kIdStatus, wxString());
    status_->Hide();
    content->Add(status_, 0, wxEXPAND | wxTOP, 6);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    add_ = new wxButton(this, kIdAdd, T("Add..."));
    buttons->Add(add_);
    buttons->AddStretchSpacer();
    close_ = new wxButton(this, wxID_OK, T("Close"));
    close_->SetDefault();
    buttons->Add(close_);
    content->Add(buttons, 0, wxEXPAND | wxTOP, 10);

    Bind(wxEVT_BUTTON, &CConfigureInstrumentsDlg::OnAdd, this, kIdAdd);
    Bind(wxEVT_BUTTON, &CConfigureInstrumentsDlg::OnClose, this, wxID_OK);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) {
        tree_->DeleteAllItems();
        EndModal(wxID_CANCEL);
    });
    tree_->Bind(wxEVT_TREE_ITEM_RIGHT_CLICK, &CConfigureInstrumentsDlg::OnTreeRightClick, this);
    tree_->Bind(wxEVT_TREE_KEY_DOWN, &CConfigureInstrumentsDlg::OnTreeKey, this);
    Bind(wxEVT_MENU, &CConfigureInstrumentsDlg::OnRemove, this, kCmdRemove);
    Bind(wxEVT_MENU, &CConfigureInstrumentsDlg::OnExtract, this, kCmdExtract);
    Finish(content);
}

int CConfigureInstrumentsDlg::ShowModal()
{
    store_.LoadInstrumentDefinitions();
    if (!FillTree()) {
        ZibTextBox("Cannot populate instrument tree", GetTitle(), wxOK, this);
        return wxID_CANCEL;
    }
    return CZibDialog::ShowModal();
}

bool CConfigureInstrumentsDlg::FillTree()
{
    tree_->DeleteAllItems();
    const InstrumentTreeItem root = BuildInstrumentTree(store_.Instruments());
    const wxTreeItemId rootId =
        tree_->AddRoot(T(root.text), -1, -1, new TreeItemData(InstrumentTreeItem::Root, root.text));
    if (!rootId.IsOk()) return false;
    for (const auto& child : root.children)
        AddItems(rootId, child);
    tree_->Expand(rootId);
    return true;
}

void CConfigureInstrumentsDlg::AddItems(const wxTreeItemId& parent, const InstrumentTreeItem& item)
{
    const wxString text = item.level == InstrumentTreeItem::Category ? T(item.text) : wxFromCp1252(item.text);
    const wxTreeItemId id = tree_->AppendItem(parent, text, -1, -1, new TreeItemData(item.level, item.text));
    for (const auto& child : item.children)
        AddItems(id, child);
}

std::string CConfigureInstrumentsDlg::SelectedInstrument() const
{
    const wxTreeItemId id = tree_->GetSelection();
    if (!id.IsOk()) return {};
    const auto* data = dynamic_cast<TreeItemData*>(tree_->GetItemData(id));
    return data && data->level == InstrumentTreeItem::Instrument ? data->text : std::string();
}

void CConfigureInstrumentsDlg::ShowButtons(bool show)
{
    for (wxButton* button : {close_, add_}) {
        button->Enable(show);
        button->Show(show);
    }
    status_->SetLabel(show ? wxString() : T("WAIT!!! Loading new instruments..."));
    status_->Show(!show);
    Layout();
    Refresh();
    Update();
}

void CConfigureInstrumentsDlg::OnAdd(wxCommandEvent&)
{
    CZibFileDialog dlg(this, T(kImportInstrumentTitle), fileDialogFolder(), wxString(),
                       wxFromUtf8(kImportInstrumentFilter), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dlg.ShowModal() != wxID_OK) return;
    ShowButtons(false);
    if (store_.ImportInstrumentsFromIns(wxToUtf8(dlg.GetPath())) == 1) FillTree();
    ShowButtons(true);
}

void CConfigureInstrumentsDlg::OnTreeRightClick(wxTreeEvent&)
{
    if (SelectedInstrument().empty()) return;
    wxMenu menu;
    menu.Append(kCmdRemove, T("&Remove item\tDel"));
    menu.Append(kCmdExtract, T("&Extract Item"));
    PopupMenu(&menu);
}

void CConfigureInstrumentsDlg::OnTreeKey(wxTreeEvent& event)
{
    if (event.GetKeyCode() == WXK_DELETE) {
        wxCommandEvent remove(wxEVT_MENU, kCmdRemove);
        OnRemove(remove);
        return;
    }
    event.Skip();
}

void CConfigureInstrumentsDlg::OnRemove(wxCommandEvent&)
{
    const std::string name = SelectedInstrument();
    if (name.empty()) return;
    if (store_.RemoveInstrument(name)) FillTree();
}

void CConfigureInstrumentsDlg::OnExtract(wxCommandEvent&)
{
    const std::string name = SelectedInstrument();
    if (name.empty()) return;
    CZibFileDialog dlg(this, T(kExtractInstrumentTitle), fileDialogFolder(),
                       wxFromCp1252(ExtractFileName(name)), wxFromUtf8(kExtractInstrumentFilter),
                       wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dlg.ShowModal() != wxID_OK) return;
    wxString path = dlg.GetPath();
    if (!path.Lower().EndsWith(".ins")) path += "." + wxString(kInstrumentFileExtension.data());
    switch (store_.ExportInstrument(name, wxToUtf8(path))) {
    case CInstrumentStore::ExportResult::Written:
        break;
    case CInstrumentStore::ExportResult::NoSuchInstrument:
        ZibMessageBox(72, "OnExtractItem", wxOK | wxICON_EXCLAMATION, this);
        break;
    case CInstrumentStore::ExportResult::CannotOpenOutput:
        ZibTextBox("Error - Cannot open output file", "OnExtractItem", wxOK | wxICON_EXCLAMATION, this);
        break;
    }
}

void CConfigureInstrumentsDlg::OnClose(wxCommandEvent&)
{
    tree_->DeleteAllItems();
    EndModal(wxID_OK);
}

} // namespace zib
