#include "docs/style/CZibStyView.h"

#include "ui/ShellServices.h"
#include "ui/ZibSubsystems.h"
#include "ui/core/CommandIds.h"
#include "docs/style/CStyPropSplitterFrameWnd.h"
#include "docs/style/CZibStyWxDoc.h"
#include "docs/style/StyleGuiSupport.h"
#include "docs/style/core/QeValueHelpers.h"
#include "docs/style/core/StyCommandIds.h"
#include "docs/style/core/StyListCommands.h"
#include "docs/style/core/StyMenus.h"
#include "midi/CStyleMidiReader.h"
#include "platform/Cp1252.h"
#include "platform/WxText.h"

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

// A Qe style's track program named by its sound (played as Qe4k).
std::string qeProgramName(const CStyleMidiReader& style, int element, int track)
{
    if (element < 0 || size_t(element) >= CStyleMidiReader::kElements || track < 0 ||
        size_t(track) >= CStyleMidiReader::kStyleTracks)
        return {};
    const uint32_t program = style.elements[size_t(element)].tracks[size_t(track)].program;
    return program == 0xFFFFFFFF ? std::string() : GetQeSoundName(program, 0);
}

} // namespace

CZibStyView::CZibStyView() = default;

CZibStyWxDoc* CZibStyView::Doc() const
{
    return dynamic_cast<CZibStyWxDoc*>(GetDocument());
}

CItemWxDoc* CZibStyView::ItemDoc() const
{
    return Doc();
}

CZibStyDoc& CZibStyView::Model() const
{
    return Doc()->Model();
}

bool CZibStyView::StsView() const
{
    return Model().StsView();
}

bool CZibStyView::OnCreate(wxDocument* doc, long flags)
{
    if (!CItemListView::OnCreate(doc, flags)) return false;
    Bind(wxEVT_MENU, &CZibStyView::OnStyleElement, this, cmd::ToWxId(stycmd::ElementFirst),
         cmd::ToWxId(stycmd::ElementLast));
    Bind(
        wxEVT_UPDATE_UI,
        [this](wxUpdateUIEvent& e) { e.Check(StyElementOfCommand(cmd::FromWxId(e.GetId())) == currentElement_); },
        cmd::ToWxId(stycmd::ElementFirst), cmd::ToWxId(stycmd::ElementLast));
    Bind(wxEVT_MENU, &CZibStyView::OnBank, this, cmd::ToWxId(stycmd::BankFirst), cmd::ToWxId(stycmd::BankLast));
    Bind(
        wxEVT_UPDATE_UI,
        [this](wxUpdateUIEvent& e) {
            const int bank = StyBankOfCommand(cmd::FromWxId(e.GetId()));
            e.Check(bank == Model().m_FirstBank);
            // "17: RESERVED !!!" is never offered.
            e.Enable(bank != 16);
        },
        cmd::ToWxId(stycmd::BankFirst), cmd::ToWxId(stycmd::BankLast));
    return true;
}

void CZibStyView::OnActivateView(bool activate, wxView* activeView, wxView* deactiveView)
{
    CItemListView::OnActivateView(activate, activeView, deactiveView);
    if (!activate || !Doc()) return;
    // An open edit frame of a Wq item writes its edits back before the list shows them.
    if (Model().IsWq() && Doc()->m_EditFrameOpen)
        if (auto* frame = dynamic_cast<CStyPropSplitterFrameWnd*>(Doc()->m_EditFrame))
            if (frame->RecreateOldStyleBuffer() == -2) {
                Doc()->AbortAndClear();
                return;
            }
    AfterRowsChanged();
}

// ---- Rows ---------------------------------------------------------------

std::vector<StyColumn> CZibStyView::Columns() const
{
    return StyColumnSet(Model());
}

std::vector<std::string> CZibStyView::ImageGlyphs() const
{
    // Image 0 the model icon, 1 a Qe9z item.
    return {modelGlyph(Model().m_Model), "9z"};
}

int CZibStyView::BaseRowImage(long row) const
{
    return Model().IsQe() ? StyRowImage(Model(), int(row)) : 0;
}

bool CZibStyView::RowTooLarge(long row) const
{
    return row >= 0 && size_t(row) < tooLarge_.size() && tooLarge_[size_t(row)];
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

void CZibStyView::AfterRowsChanged()
{
    if (!Doc() || !List()) return;
    // The too-large marks of Wq files; the rows of a last short block that is
    // too large become selected too.
    const FileSizeCheck check = CheckFileSize(Model(), false);
    tooLarge_ = check.tooLarge;
    if (!dragRunning_)
        for (int r : check.select)
            List()->Select(r, true);
    RefreshRows();
}

// ---- Commands -----------------------------------------------------------

bool CZibStyView::CommandEnabled(StyCommand command) const
{
    if (command == StyCommand::PadToMidi || command == StyCommand::PlaybackPadItem) return false;
    StyListState s = State();
    // Only Paste asks the clipboard (a round trip to the display).
    if (command == StyCommand::Paste) s.clipboardHasBlock = ClipboardHasBlock();
    return StyCommandEnabled(command, s);
}

bool CZibStyView::PopupEnabled(StyCommand command) const
{
    StyListState s = State();
    if (command == StyCommand::Paste) s.clipboardHasBlock = ClipboardHasBlock();
    return StyPopupEnabled(command, s);
}

void CZibStyView::RunCommand(StyCommand command)
{
    CZibStyDoc& m = Model();
    switch (command) {
    case StyCommand::StsView:
        if (!m.IsQe()) break;
        Doc()->CloseToolWindows();
        m.ToggleViewMode();
        Refill();
        break;
    case StyCommand::StyleToText:
    case StyCommand::DumpToText:
        m.OnUtilSty2Txt();
        break;
    case StyCommand::TextDump:
        m.OnViewTextDump();
        break;
    case StyCommand::ItemsReport:
        m.OnUtilItemsReport();
        break;
    case StyCommand::CleanStyleEvents:
        Doc()->CloseToolWindows();
        m.CleanStyleEvents();
        RefreshRows();
        break;
    case StyCommand::StyleToMidi:
        m.OnUtilStyToMidi();
        break;
    case StyCommand::StartStopPlayback:
        PlaySelectedStyle();
        break;
    case StyCommand::ConvertQeToWq:
        break;
    default:
        CItemListView::RunCommand(command);
        break;
    }
}

void CZibStyView::PlaySelectedStyle()
{
    const auto& console = Shell().Subsystems().RunStylePlaybackConsole;
    if (!console) return;
    std::optional<StylePlayback> playback = Model().PlaySelectedStyle();
    if (!playback || !playback->reader) return;
    console(nullptr, *playback->reader, playback->title,
            Model().IsQe() ? std::function<std::string(const CStyleMidiReader&, int, int)>(qeProgramName) : nullptr);
}

std::vector<MenuItemDef> CZibStyView::PopupMenuDef() const
{
    return StyPopupMenuDef();
}

void CZibStyView::ColumnClicked(int column)
{
    if (StsView()) return;
    auto byUpdate = [](int) -> std::optional<bool> { return std::nullopt; };
    if (Model().IsQe() && column == 3) return ShowPopup(StyElementMenuDef(), byUpdate);
    if (Model().IsQe() && column == 1) return ShowPopup(StyBankMenuDef(), byUpdate);
    CItemListView::ColumnClicked(column);
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

void CZibStyView::OpenStyleTree()
{
    const int row = List() ? int(List()->FocusedRow()) : -1;
    if (row < 0 || row >= Model().StyCount() || StsView()) return;
    const CStyItem& item = Model().m_StyItems[size_t(row)];
    if (Model().IsQe() && item.Size() == 0) return;
    // The Wq placeholders have nothing to edit.
    if (Model().IsWq() && item.Size() == (IsWqFamilyB(Model().m_Model) ? 1176u : 1168u)) return;
    ShellServices* main = ShellFrame() ? ShellServices::Get() : nullptr;
    if (!main) return;
    const wxString title = CStyPropSplitterFrameWnd::TitleFor(GetDocument()->GetUserReadableName(), item.NameText(), false);
    Doc()->CloseToolWindows();
    Doc()->m_EditFrame = main->OpenStyPropFrame(title, &Doc()->m_EditFrameOpen, Doc(), row);
}

} // namespace zib
