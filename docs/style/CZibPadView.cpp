#include "docs/style/CZibPadView.h"

#include "app/CZibApp.h"
#include "app/CZibFileDialog.h"
#include "app/ZibMessageBox.h"
#include "app/core/CommandIds.h"
#include "app/dialogs/CFileDialogs.h"
#include "docs/style/core/StyCommandIds.h"
#include "docs/style/core/StyMenus.h"
#include "docs/style/CZibPadWxDoc.h"
#include "docs/style/StyleDocTools.h"
#include "docs/style/StyleGuiSupport.h"
#include "midi/ValueTexts.h"
#include "platform/Cp1252.h"
#include "platform/WxText.h"
#include "platform/ZibClipboardFormat.h"

#include <filesystem>
#include <wx/utils.h>

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CZibPadView, wxView);

CZibPadView::CZibPadView() = default;

CZibPadWxDoc* CZibPadView::Doc() const
{
    return dynamic_cast<CZibPadWxDoc*>(GetDocument());
}

CZibPadDoc& CZibPadView::Model() const
{
    return Doc()->Model();
}

bool CZibPadView::OnCreate(wxDocument* doc, long flags)
{
    if (!CItemListView::OnCreate(doc, flags)) return false;
    auto bind = [this](int id, void (CZibPadView::*handler)(wxCommandEvent&),
                       void (CZibPadView::*update)(wxUpdateUIEvent&)) {
        if (handler) Bind(wxEVT_MENU, handler, this, cmd::ToWxId(id));
        if (update) Bind(wxEVT_UPDATE_UI, update, this, cmd::ToWxId(id));
    };
    bind(stycmd::EditPaste, &CZibPadView::OnPaste, &CZibPadView::OnUpdatePaste);
    bind(stycmd::EditCopy, nullptr, &CZibPadView::OnUpdateSelected);
    bind(stycmd::EditCut, nullptr, &CZibPadView::OnUpdateSelected);
    bind(stycmd::DeleteItems, nullptr, &CZibPadView::OnUpdateHasItems);
    bind(stycmd::EmptyItem, &CZibPadView::OnEmpty, &CZibPadView::OnUpdateHasItems);
    bind(stycmd::ExtractItem, &CZibPadView::OnExtract, &CZibPadView::OnUpdateAlways);
    bind(stycmd::ImportItems, &CZibPadView::OnImport, &CZibPadView::OnUpdateAlways);
    bind(stycmd::RenameItem, nullptr, &CZibPadView::OnUpdateWithData);
    bind(stycmd::Properties, nullptr, &CZibPadView::OnUpdateProperties);
    bind(stycmd::PadToMidi, &CZibPadView::OnPadToMidi, &CZibPadView::OnUpdatePadToMidi);
    bind(stycmd::PlaybackPadItem, &CZibPadView::OnPlayback, &CZibPadView::OnUpdatePlayback);
    bind(stycmd::FileSave, &CZibPadView::OnSave, &CZibPadView::OnUpdateHasItems);
    bind(stycmd::FileSaveAs, &CZibPadView::OnSaveAs, &CZibPadView::OnUpdateHasItems);
    bind(stycmd::FileClose, &CZibPadView::OnCloseDocument, nullptr);
    Bind(wxEVT_MENU, &CZibPadView::OnBank, this, cmd::ToWxId(stycmd::PadBankFirst),
         cmd::ToWxId(stycmd::PadBankLast));
    Bind(wxEVT_UPDATE_UI, &CZibPadView::OnUpdateBank, this, cmd::ToWxId(stycmd::PadBankFirst),
         cmd::ToWxId(stycmd::PadBankLast));
    return true;
}

// ---- Rows ---------------------------------------------------------------

std::vector<StyColumn> CZibPadView::Columns() const
{
    return PadColumnSet();
}

int CZibPadView::RowCount() const
{
    return Model().PadCount();
}

std::vector<std::string> CZibPadView::ImageGlyphs() const
{
    return {Model().IsQe() ? "Qe" : "?", "9z"};
}

std::string CZibPadView::ListCellText(long row, long column) const
{
    return cp1252ToUtf8(PadCellText(Model(), int(row), int(column), currentElement_));
}

int CZibPadView::ListRowImage(long row) const
{
    return PadRowImage(Model(), int(row));
}

std::optional<std::string> CZibPadView::FocusedItemName() const
{
    const long row = List() ? List()->FocusedRow() : -1;
    if (row < 0 || row >= Model().PadCount()) return std::nullopt;
    return Model().m_PadItems[size_t(row)].NameText();
}

int CZibPadView::ItemCount() const
{
    return Doc() ? Model().PadCount() : 0;
}

uint64_t CZibPadView::TotalItemSize() const
{
    uint64_t total = 0;
    if (!Doc()) return 0;
    for (const CQePadItem& pad : Model().m_PadItems)
        total += pad.Size();
    return total;
}

// ---- Item operations ----------------------------------------------------

int CZibPadView::RenameLimitOf(int row) const
{
    return Model().RenameLimit(row);
}

bool CZibPadView::Rename(int row, const std::string& text)
{
    return Model().RenameItem(row, text);
}

std::optional<StyClipboardBlock> CZibPadView::CopyBlockOf(const std::vector<int>& rows, int)
{
    return Model().CopyBlock(rows);
}

std::vector<int> CZibPadView::Drop(const StyClipboardBlock& block, int row, bool fromThisView, bool move,
                                   const std::vector<int>& dragged)
{
    const bool wasEmpty = Model().PadCount() == 0;
    const std::vector<int> rows = Model().DropBlock(block, row, fromThisView, move, dragged).rows;
    if (wasEmpty && !rows.empty()) Refill();
    return rows;
}

void CZibPadView::DeleteRows(const std::vector<int>& rows, int focused)
{
    CloseToolWindows();
    Model().DeleteItems(rows, focused);
    if (List()) List()->SelectOnly({}, -1);
    RefreshRows();
}

bool CZibPadView::MoveRow(int direction, int row)
{
    return Model().MoveItem(direction, row);
}

void CZibPadView::CloseToolWindows()
{
    if (Doc()) Doc()->CloseToolWindows();
}

void CZibPadView::CheckAbort()
{
    if (Doc()) Doc()->CheckAbort();
}

void CZibPadView::OpenProperties()
{
    const int row = List() ? int(List()->FocusedRow()) : -1;
    if (row < 0 || row >= Model().PadCount() || Model().m_PadItems[size_t(row)].Size() == 0) return;
    StyleDocTools& tools = GetStyleDocTools();
    if (!tools.openPadEditFrame) return;
    const wxString title =
        GetDocument()->GetUserReadableName() + " - PadTree - " + ItemTextToWx(Model().m_PadItems[size_t(row)].NameText());
    if (Doc()->m_PadEditFrameOpen && Doc()->m_PadEditFrame) Doc()->m_PadEditFrame->Close(true);
    Doc()->m_PadEditFrame = tools.openPadEditFrame(*Doc(), row, title);
    Doc()->m_PadEditFrameOpen = Doc()->m_PadEditFrame ? 1 : 0;
}

std::vector<MenuItemDef> CZibPadView::PopupMenuDef() const
{
    return PadPopupMenuDef();
}

void CZibPadView::ColumnClicked(int column)
{
    if (column == 1) return ShowPopup(PadBankMenuDef());
    CItemListView::ColumnClicked(column);
}

// ---- Commands -----------------------------------------------------------

void CZibPadView::OnPaste(wxCommandEvent&)
{
    Model().OnEditPaste();
    CheckAbort();
}

void CZibPadView::OnEmpty(wxCommandEvent&)
{
    Model().OnEditEmpty();
    CheckAbort();
}

void CZibPadView::OnExtract(wxCommandEvent&)
{
    Model().OnEditExtract();
}

void CZibPadView::OnImport(wxCommandEvent&)
{
    Model().ImportItem();
}

void CZibPadView::OnPadToMidi(wxCommandEvent&)
{
    const ZibSettings& settings = wxGetApp().Settings();
    StyDocSettings values = Model().Settings();
    values.language = wxGetApp().Language();
    values.styToMidiType = settings.StyToMidiType;
    values.lastOpenedDirectory = std::filesystem::u8path(settings.LastOpenedDirectory);
    values.setLastOpenedDirectory = [](const std::filesystem::path& folder) {
        const std::u8string text = folder.u8string();
        wxGetApp().SetLastOpenedDirectory(std::string(text.begin(), text.end()));
    };
    values.qeCollect.qeKeyChordDetermination = settings.QeKeyChordDetermination;
    if (!settings.QeKeyChord.empty()) values.qeCollect.qeKeyChord = settings.QeKeyChord;
    Model().SetSettings(values);
    Model().OnUtilPadToMidi();
}

void CZibPadView::OnPlayback(wxCommandEvent&)
{
    // Pads are not played back.
}

void CZibPadView::OnBank(wxCommandEvent& event)
{
    Model().SetBank(PadBankOfCommand(cmd::FromWxId(event.GetId())));
    RefreshRows();
}

void CZibPadView::OnSave(wxCommandEvent&)
{
    GetDocument()->Save();
}

void CZibPadView::OnSaveAs(wxCommandEvent&)
{
    GetDocument()->SaveAs();
}

void CZibPadView::OnCloseDocument(wxCommandEvent&)
{
    GetDocumentManager()->CloseDocument(GetDocument());
}

// ---- Enabling -----------------------------------------------------------

void CZibPadView::OnUpdateHasItems(wxUpdateUIEvent& event)
{
    event.Enable(Model().PadCount() > 0);
}

void CZibPadView::OnUpdateSelected(wxUpdateUIEvent& event)
{
    event.Enable(Model().PadCount() > 0 && List()->GetSelectedItemCount() > 0);
}

void CZibPadView::OnUpdatePaste(wxUpdateUIEvent& event)
{
    event.Enable(ZibClipboardFormatRegistered() && ClipboardHasBlock());
}

void CZibPadView::OnUpdateAlways(wxUpdateUIEvent& event)
{
    event.Enable(true);
}

void CZibPadView::OnUpdatePadToMidi(wxUpdateUIEvent& event)
{
    event.Enable(Model().PadCount() > 0 && List()->GetSelectedItemCount() > 0 && Model().m_FileKind == 5);
}

void CZibPadView::OnUpdatePlayback(wxUpdateUIEvent& event)
{
    event.Enable(Model().PadCount() > 0 && List()->GetSelectedItemCount() > 0 && List()->FocusedRow() >= 0);
}

void CZibPadView::OnUpdateWithData(wxUpdateUIEvent& event)
{
    event.Enable(Model().RenameLimit(int(List()->FocusedRow())) > 0);
}

void CZibPadView::OnUpdateProperties(wxUpdateUIEvent& event)
{
    event.Enable(Model().RenameLimit(int(List()->FocusedRow())) > 0 && GetStyleDocTools().openPadEditFrame);
}

void CZibPadView::OnUpdateBank(wxUpdateUIEvent& event)
{
    event.Check(PadBankOfCommand(cmd::FromWxId(event.GetId())) == Model().m_FirstBank);
}

} // namespace zib
