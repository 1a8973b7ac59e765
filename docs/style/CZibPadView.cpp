#include "docs/style/CZibPadView.h"

#include "ui/ShellServices.h"
#include "ui/core/CommandIds.h"
#include "docs/style/CStyPropSplitterFrameWnd.h"
#include "docs/style/CZibPadWxDoc.h"
#include "docs/style/StyleGuiSupport.h"
#include "docs/style/core/StyCommandIds.h"
#include "docs/style/core/StyListCommands.h"
#include "docs/style/core/StyMenus.h"
#include "platform/Cp1252.h"
#include "platform/WxText.h"

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CZibPadView, wxView);

CZibPadView::CZibPadView() = default;

CZibPadWxDoc* CZibPadView::Doc() const
{
    return dynamic_cast<CZibPadWxDoc*>(GetDocument());
}

CItemWxDoc* CZibPadView::ItemDoc() const
{
    return Doc();
}

CZibPadDoc& CZibPadView::Model() const
{
    return Doc()->Model();
}

bool CZibPadView::OnCreate(wxDocument* doc, long flags)
{
    if (!CItemListView::OnCreate(doc, flags)) return false;
    Bind(wxEVT_MENU, &CZibPadView::OnBank, this, cmd::ToWxId(stycmd::PadBankFirst), cmd::ToWxId(stycmd::PadBankLast));
    Bind(
        wxEVT_UPDATE_UI,
        [this](wxUpdateUIEvent& e) { e.Check(PadBankOfCommand(cmd::FromWxId(e.GetId())) == Model().m_FirstBank); },
        cmd::ToWxId(stycmd::PadBankFirst), cmd::ToWxId(stycmd::PadBankLast));
    return true;
}

// ---- Rows ---------------------------------------------------------------

std::vector<StyColumn> CZibPadView::Columns() const
{
    return PadColumnSet();
}

std::vector<std::string> CZibPadView::ImageGlyphs() const
{
    return {Model().IsQe() ? "Qe" : "?", "9z"};
}

int CZibPadView::BaseRowImage(long row) const
{
    return PadRowImage(Model(), int(row));
}

std::string CZibPadView::ListCellText(long row, long column) const
{
    return cp1252ToUtf8(PadCellText(Model(), int(row), int(column), currentElement_));
}

// ---- Commands -----------------------------------------------------------

std::optional<StyCommand> CZibPadView::CommandOf(int id) const
{
    // 32784 is the pad's "Playback Pad item".
    std::optional<StyCommand> command = StyCommandOfId(id);
    if (command == StyCommand::StartStopPlayback) return StyCommand::PlaybackPadItem;
    return command;
}

bool CZibPadView::CommandEnabled(StyCommand command) const
{
    StyListState s = State();
    // Only Paste asks the clipboard (a round trip to the display).
    if (command == StyCommand::Paste) s.clipboardHasBlock = ClipboardHasBlock();
    return PadCommandEnabled(command, s);
}

void CZibPadView::RunCommand(StyCommand command)
{
    switch (command) {
    case StyCommand::PadToMidi:
        Model().OnUtilPadToMidi();
        break;
    case StyCommand::PlaybackPadItem:
        // Pads are not played back.
        break;
    default:
        CItemListView::RunCommand(command);
        break;
    }
}

std::vector<MenuItemDef> CZibPadView::PopupMenuDef() const
{
    return PadPopupMenuDef();
}

void CZibPadView::ColumnClicked(int column)
{
    if (column == 1) return ShowPopup(PadBankMenuDef(), [](int) -> std::optional<bool> { return std::nullopt; });
    CItemListView::ColumnClicked(column);
}

void CZibPadView::OnBank(wxCommandEvent& event)
{
    Model().SetBank(PadBankOfCommand(cmd::FromWxId(event.GetId())));
    RefreshRows();
}

void CZibPadView::OpenPadTree()
{
    const int row = List() ? int(List()->FocusedRow()) : -1;
    if (row < 0 || row >= Model().PadCount() || Model().m_PadItems[size_t(row)].Size() == 0) return;
    ShellServices* main = ShellFrame() ? ShellServices::Get() : nullptr;
    if (!main) return;
    const wxString title = CStyPropSplitterFrameWnd::TitleFor(GetDocument()->GetUserReadableName(),
                                                              Model().m_PadItems[size_t(row)].NameText(), true);
    Doc()->CloseToolWindows();
    Doc()->m_EditFrame = main->OpenPadPropFrame(title, &Doc()->m_EditFrameOpen, Doc(), row);
}

} // namespace zib
