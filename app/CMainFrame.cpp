#include "app/CMainFrame.h"

#include "app/CZibApp.h"
#include "app/core/ExternalPlayerCommand.h"
#include "app/core/MainFrameCloseRule.h"
#include "app/dialogs/CSettingsDialogs.h"
#include "ui/CTextViewer.h"
#include "ui/CZibDocManager.h"
#include "ui/CZibDocTemplate.h"
#include "ui/CZibDocument.h"
#include "ui/CZibMdiChild.h"
#include "ui/InPlaceEditor.h"
#include "ui/ListColumns.h"
#include "ui/MenuBuilder.h"
#include "ui/core/CommandIds.h"
#include "ui/core/OpenEditCommands.h"
#include "ui/core/StatusPanes.h"
#include "ui/texts/UiText.h"
#include "ui/texts/ZibLanguage.h"
#include "platform/Profile.h"
#include "platform/WxText.h"

#include <array>
#include <cstdio>
#include <wx/process.h>
#include <wx/statusbr.h>
#include <wx/utils.h>

namespace zib {

namespace {

CMainFrame* gMainFrame = nullptr;

// The menu of a child window that has none of its own: the main menu
// (resource 114) with the Window menu.
constexpr int kMainMenuWithWindow = 114;

// The standard layout: Standard first on the top row with MoveItem and StyDoc
// (or MidiTempo and MidiDoc, never both groups at once) to its right; the
// second row holds StyleTree and MidiEdit (or MidiPlay, MidiPosition and
// MidiSelection).
BarPlace standardPlace(MainBar bar)
{
    struct RowPosition {
        int row;
        int position;
    };
    // In the order of MainBar.
    static constexpr std::array<RowPosition, kMainBarCount> kPlaces{{
        {0, 0}, // Standard
        {0, 2}, // StyDoc
        {0, 1}, // MoveItem
        {0, 2}, // MidiDoc
        {1, 0}, // StyleTree
        {1, 1}, // MidiEdit
        {1, 0}, // MidiPlay
        {0, 1}, // MidiTempo
        {1, 1}, // MidiPosition
        {1, 2}, // MidiSelection
    }};
    BarPlace p;
    p.row = kPlaces[size_t(bar)].row;
    p.position = kPlaces[size_t(bar)].position;
    return p;
}

// The external player: the temporary file goes when the player process ends.
class PlayerProcess : public wxProcess {
public:
    explicit PlayerProcess(std::string path) : path_(std::move(path)) {}
    void OnTerminate(int, int) override
    {
        std::remove(path_.c_str());
        delete this;
    }

private:
    std::string path_;
};

} // namespace

CMainFrame::CMainFrame(wxDocManager* manager)
{
    m_docManager = manager;
    flags_.fill(true);
}

CMainFrame::~CMainFrame()
{
    // Child windows still open go first, while the MDI client window that
    // holds them is whole: their own clean-up takes them out of it.
    if (wxAuiMDIClientWindow* client = GetClientWindow())
        while (client->GetPageCount() > 0)
            delete client->GetPage(0);
    mgr_.UnInit();
    if (gMainFrame == this) gMainFrame = nullptr;
}

CMainFrame* CMainFrame::Get()
{
    return gMainFrame;
}

bool CMainFrame::CreateMainFrame()
{
    if (!Create(m_docManager, nullptr, wxID_ANY, wxString(CZibApp::kAppName), wxDefaultPosition,
                wxSize(1000, 700), wxDEFAULT_FRAME_STYLE | wxFRAME_NO_WINDOW_MENU))
        return false;
    gMainFrame = this;
#ifdef __WXGTK__
    // Under a window manager wxGTK holds the first show of a frame back until
    // the manager reports the frame's borders, and shows it then with the
    // window still allocated 2 x 1 pixels: GTK cannot fit the menu bar and
    // complains (gtk_distribute_natural_allocation). The frame starts
    // maximised, where the borders do not change its size: it is shown at once.
    m_deferShow = false;
#endif

    background_ = std::make_unique<CTiledBitmapWnd>();
    if (!background_->SubclassWindow(GetClientWindow())) return false;

    mgr_.SetManagedWindow(this);
    if (!CreateBars()) return false;
    // The frame manager takes the MDI client window as its centre pane by itself.

    if (!CreateStatusBar(3)) return false;
    UpdatePaneWidths();
    // The panes hold their texts before anything can post a message into the first one:
    // a later refresh only writes a pane whose text changed.
    UpdateStatusPanes();

    LayoutBars();
    ShowBar(MainBar::Standard, true);
    currentDocBar_ = MainBar::Standard;
    mgr_.Update();

    mainMenu_ = MainMenuDef();
    mainMenuWithWindow_ = MainMenuWithWindowDef();
    ShowMenuFor(0);

    Bind(wxEVT_MENU, &CMainFrame::OnToolbarsDialog, this, cmd::ToWxId(cmd::ViewToolbar));
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateViewToolbar, this, cmd::ToWxId(cmd::ViewToolbar));
    Bind(wxEVT_MENU, &CMainFrame::OnViewStatusBar, this, cmd::ToWxId(cmd::ViewStatusBar));
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateViewStatusBar, this, cmd::ToWxId(cmd::ViewStatusBar));
    Bind(wxEVT_MENU, &CMainFrame::OnLanguage, this, cmd::ToWxId(kLanguageCommandFirst),
         cmd::ToWxId(kLanguageCommandLast));
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateLanguage, this, cmd::ToWxId(kLanguageCommandFirst),
         cmd::ToWxId(kLanguageCommandLast));
    Bind(wxEVT_SIZE, &CMainFrame::OnSize, this);
    Bind(wxEVT_MOVE, &CMainFrame::OnMove, this);
    Bind(wxEVT_IDLE, &CMainFrame::OnIdle, this);
    created_ = true;
    return true;
}

bool CMainFrame::CreateBars()
{
    return EnsureBar(MainBar::Standard) != nullptr;
}

// A bar's window and pane are made the first time the bar is wanted: the
// frame starts with the Standard bar, the others come with the first window
// that shows them (or the first command that reaches them), hidden until then.
wxWindow* CMainFrame::EnsureBar(MainBar bar)
{
    wxWindow*& window = barWindows_[size_t(bar)];
    if (window) return window;
    const int language = wxGetApp().Language();
    auto& subsystems = wxGetApp().Subsystems();
    const bool midiControlBar =
        bar == MainBar::MidiTempo || bar == MainBar::MidiPosition || bar == MainBar::MidiSelection;
    if (midiControlBar && subsystems.CreateMidiControlBar) {
        window = subsystems.CreateMidiControlBar(*this, bar);
        if (!window) return nullptr;
    } else {
        auto* toolbar = new CMainToolBar(this, bar);
        toolbar->SetButtons(ToolbarButtons(bar), language);
        window = toolbar;
    }
    bars_[size_t(bar)] = dynamic_cast<CMainToolBar*>(window);
    mgr_.AddPane(window, wxAuiPaneInfo()
                             .Name(wxFromUtf8(MainBarTitle(bar)))
                             .Caption(wxFromUtf8(UiText(MainBarTitle(bar), language)))
                             .ToolbarPane()
                             .Top()
                             .Row(standardPlace(bar).row)
                             .Position(standardPlace(bar).position)
                             .Hide());
    return window;
}

CMainToolBar* CMainFrame::Toolbar(MainBar bar)
{
    EnsureBar(bar);
    return bars_[size_t(bar)];
}

void CMainFrame::LayoutBars()
{
    for (int i = 0; i < kMainBarCount; ++i)
        places_[size_t(i)].fill(standardPlace(MainBar(i)));
}

void CMainFrame::ApplyPlace(MainBar bar, const BarPlace& place, bool show)
{
    wxWindow* window = show ? EnsureBar(bar) : barWindows_[size_t(bar)];
    if (!window) return;
    wxAuiPaneInfo& pane = mgr_.GetPane(window);
    if (!pane.IsOk()) return;
    if (place.floating) {
        pane.Float().FloatingPosition(place.floatingPos);
    } else {
        pane.Dock().Direction(place.dock).Row(place.row).Position(place.position);
    }
    pane.Show(show);
}

void CMainFrame::ShowBar(MainBar bar, bool show)
{
    wxWindow* window = show ? EnsureBar(bar) : barWindows_[size_t(bar)];
    if (!window) return; // a bar not made yet is hidden
    wxAuiPaneInfo& pane = mgr_.GetPane(window);
    if (pane.IsOk()) pane.Show(show);
}

bool CMainFrame::IsBarShown(MainBar bar)
{
    if (!barWindows_[size_t(bar)]) return false;
    wxAuiPaneInfo& pane = mgr_.GetPane(barWindows_[size_t(bar)]);
    return pane.IsOk() && pane.IsShown();
}

CZibMdiChild* CMainFrame::ActiveZibChild() const
{
    return dynamic_cast<CZibMdiChild*>(const_cast<CMainFrame*>(this)->GetActiveChild());
}

ChildKind CMainFrame::ActiveKind() const
{
    auto* raw = const_cast<CMainFrame*>(this)->GetActiveChild();
    if (!raw) return ChildKind::None;
    auto* child = dynamic_cast<CZibMdiChild*>(raw);
    return child ? child->Kind() : ChildKind::Other;
}

void CMainFrame::ShowToolbarsForActiveFrame(int /*showCommand*/)
{
    if (!created_ || !barWindows_[0]) return;
    CZibMdiChild* child = ActiveZibChild();
    const bool midiWindow = child && child->IsMidiWindow();
    const ToolbarChoice choice = ChooseToolbars(ActiveKind(), midiWindow, flags_);
    if (choice.midiDocButtons != MidiDocButtons::Unchanged && Toolbar(MainBar::MidiDoc))
        Toolbar(MainBar::MidiDoc)
            ->SetButtonSet(choice.midiDocButtons == MidiDocButtons::Full, wxGetApp().Language());
    for (int i = 0; i < kMainBarCount; ++i) {
        switch (choice.actions[size_t(i)]) {
        case BarAction::Show:
            ApplyPlace(MainBar(i), places_[size_t(i)][kSlots - 1], true);
            break;
        case BarAction::Hide:
            ShowBar(MainBar(i), false);
            break;
        case BarAction::Keep:
            break;
        }
    }
    if (choice.documentBar) currentDocBar_ = *choice.documentBar;
    mgr_.Update();
}

void CMainFrame::ToolbarMovedByUser(CMainToolBar& bar)
{
    wxAuiPaneInfo& pane = mgr_.GetPane(&bar);
    if (!pane.IsOk()) return;
    CZibMdiChild* child = ActiveZibChild();
    const int slot = ToolbarSlotFor(bar.Bar(), ActiveKind(), child && child->IsMidiWindow());
    BarPlace place;
    place.floating = pane.IsFloating();
    place.floatingPos = pane.floating_pos;
    place.dock = pane.dock_direction;
    place.row = pane.dock_row;
    place.position = pane.dock_pos;
    places_[size_t(bar.Bar())][size_t(slot)] = place;
}

CMainToolBar* CMainFrame::BarWithButton(int id) const
{
    // The document bar first: a button id may stand on more than one bar. A
    // bar not made yet is not shown and holds no pressed button.
    const int tool = cmd::ToWxId(id);
    if (CMainToolBar* bar = bars_[size_t(currentDocBar_)]; bar && bar->FindTool(tool)) return bar;
    for (CMainToolBar* bar : bars_)
        if (bar && bar->IsShown() && bar->FindTool(tool)) return bar;
    return nullptr;
}

void CMainFrame::CheckToolbarButton(int id, int state)
{
    CMainToolBar* bar = BarWithButton(id);
    if (!bar) return;
    bar->ToggleTool(cmd::ToWxId(id), (state & 0xFFFF) != 0);
    bar->Refresh();
}

int CMainFrame::IsToolbarButtonChecked(int id)
{
    CMainToolBar* bar = BarWithButton(id);
    return bar && bar->GetToolToggled(cmd::ToWxId(id)) ? 1 : 0;
}

void CMainFrame::ActiveChildChanged()
{
    wxWindow* active = GetActiveChild();
    lastActive_ = active;
    ShowToolbarsForActiveFrame();
    CZibMdiChild* child = ActiveZibChild();
    const int templateId = child ? child->MenuTemplateId() : 0;
    ShowMenuFor(templateId == 0 && active ? kMainMenuWithWindow : templateId);
    UpdateStatusPanes();
    UpdateTitle();
}

const MenuBarDef& CMainFrame::MenuDefFor(int templateId)
{
    // Tool frames (the style and pad edit frames) bring their own menu.
    if (const CZibMdiChild* child = ActiveZibChild(); child && child->MenuTemplateId() == templateId)
        if (const MenuBarDef* own = child->OwnMenu()) return *own;
    if (templateId == kMainMenuWithWindow) return mainMenuWithWindow_;
    if (templateId != 0 && wxGetApp().DocManager()) {
        for (CZibDocTemplate* t : wxGetApp().DocManager()->ZibTemplates())
            if (t->TemplateId() == templateId && !t->DocumentMenu().empty()) return t->DocumentMenu();
    }
    return mainMenu_;
}

void CMainFrame::ShowMenuFor(int templateId)
{
    const int language = wxGetApp().Language();
    if (templateId == menuTemplateId_ && language == menuLanguage_ && GetMenuBar()) return;
    wxMenuBar* bar = BuildMenuBar(MenuDefFor(templateId), language, wxGetApp().RecentFiles().files());
    wxMenuBar* old = GetMenuBar();
    SetMenuBar(bar);
    // The old bar may be the one whose command is running: it goes on the next idle.
    if (old) retiredMenuBars_.emplace_back(old);
    menuTemplateId_ = templateId;
    menuLanguage_ = language;
}

void CMainFrame::RebuildMenus()
{
    const int templateId = menuTemplateId_ < 0 ? 0 : menuTemplateId_;
    menuTemplateId_ = -1;
    ShowMenuFor(templateId);
}

void CMainFrame::ApplyLanguage(int index)
{
    // The menus, bars and panes were made in the language held; when that is
    // the one applied (at start-up), there is nothing to make again: the
    // language is only stored.
    const int language = ZibLanguageForCommand(kLanguageCommandFirst + index);
    ZibSettings& settings = wxGetApp().Settings();
    if (language == settings.AppLanguage && language == menuLanguage_) {
        settings.SetAppLanguage(language);
        return;
    }
    wxCommandEvent event(wxEVT_MENU, cmd::ToWxId(kLanguageCommandFirst + index));
    OnLanguage(event);
}

void CMainFrame::OnLanguage(wxCommandEvent& event)
{
    // French (and any index the table has no column for) becomes English.
    const int index = ZibLanguageForCommand(cmd::FromWxId(event.GetId()));
    ZibSettings& settings = wxGetApp().Settings();
    settings.AppLanguage = index;
    // Menus of every template and the main menu come back in the new language:
    // they are built from their descriptions whenever a window shows them.
    RebuildMenus();
    for (int i = 0; i < kMainBarCount; ++i) {
        if (!barWindows_[size_t(i)]) continue; // made later in the language of that time
        wxAuiPaneInfo& pane = mgr_.GetPane(barWindows_[size_t(i)]);
        if (pane.IsOk()) pane.Caption(wxFromUtf8(UiText(MainBarTitle(MainBar(i)), index)));
        // Only the tooltips change: buttons that are pressed (event filters, Play) stay pressed.
        if (CMainToolBar* bar = bars_[size_t(i)]) bar->Translate(index);
    }
    mgr_.Update();
    // The open lists head their columns in the new language, each wide enough for its header.
    RefitHeaders(*this);
    statusTexts_ = {};
    UpdateStatusPanes();
    settings.SetAppLanguage(index);
}

void CMainFrame::OnUpdateLanguage(wxUpdateUIEvent& event)
{
    const int language = wxGetApp().Language();
    const int command = cmd::FromWxId(event.GetId());
    if (language == command - kLanguageCommandFirst) {
        event.Check(true);
    } else if (command == kLanguageCommandLast) {
        event.Enable(false);
    } else {
        event.Check(false);
    }
}

void CMainFrame::OnToolbarsDialog(wxCommandEvent&)
{
    CZibMdiChild* child = ActiveZibChild();
    if (!GetActiveChild()) return;
    const int kind = ToolbarsDialogKind(ActiveKind(), child && child->IsMidiWindow());
    CToolbarsDlg dlg(this, kind, flags_, [this](BarFlag flag, bool on) {
        flags_[size_t(flag)] = on;
        for (int i = 0; i < kMainBarCount; ++i)
            if (FlagOfBar(MainBar(i)) == flag) ShowBar(MainBar(i), on);
        mgr_.Update();
    });
    dlg.ShowModal();
    flags_ = dlg.Model().flags();
}

void CMainFrame::OnUpdateViewToolbar(wxUpdateUIEvent& event)
{
    const ViewToolbarItemState state = ViewToolbarItem(GetActiveChild() != nullptr, IsBarShown(MainBar::Standard));
    event.Enable(state.enabled);
    event.Check(state.checked);
}

void CMainFrame::OnViewStatusBar(wxCommandEvent&)
{
    if (wxStatusBar* bar = GetStatusBar()) {
        bar->Show(!bar->IsShown());
        SendSizeEvent();
    }
}

void CMainFrame::OnUpdateViewStatusBar(wxUpdateUIEvent& event)
{
    event.Check(GetStatusBar() && GetStatusBar()->IsShown());
}

void CMainFrame::OnSize(wxSizeEvent& event)
{
    event.Skip();
    if (!created_) return;
    if (!IsIconized()) UpdatePaneWidths();
    LayoutBars();
    ShowToolbarsForActiveFrame();
}

void CMainFrame::UpdatePaneWidths()
{
    // Each pane a third of the client width.
    wxStatusBar* bar = GetStatusBar();
    if (!bar) return;
    const int width = StatusPaneWidth(GetClientSize().x);
    const int widths[3] = {width, width, width};
    bar->SetStatusWidths(3, widths);
}

void CMainFrame::OnMove(wxMoveEvent& event)
{
    event.Skip();
    if (!created_) return;
    LayoutBars();
}

void CMainFrame::HoldPaintingUntilIdle()
{
    if (paintingHeld_) return;
    paintingHeld_ = true;
    Freeze();
}

void CMainFrame::OnIdle(wxIdleEvent& event)
{
    event.Skip();
    retiredMenuBars_.clear();
    if (GetActiveChild() != lastActive_) ActiveChildChanged();
    if (paintingHeld_) {
        paintingHeld_ = false;
        Thaw();
    }
    UpdateStatusPanes();
    UpdateTitle();
}

void CMainFrame::UpdateTitle()
{
    // The title names the active window's document: "Zib - Song.mid".
    const CZibMdiChild* child = ActiveZibChild();
    const wxString document = child && !child->IsBeingDeleted() ? child->DocumentTitle() : wxString();
    const wxString title = document.empty() ? wxString(CZibApp::kAppName) : wxString(CZibApp::kAppName) + " - " + document;
    if (GetTitle() != title) SetTitle(title);
}

void CMainFrame::UpdateStatusPanes()
{
    wxStatusBar* bar = GetStatusBar();
    if (!bar) return;
    ChildStatus status;
    if (CZibMdiChild* child = ActiveZibChild())
        child->FillStatus(status);
    else
        status.kind = GetActiveChild() ? ChildKind::Other : ChildKind::None;
    auto texts = StatusPaneTexts(status, wxGetApp().Language());
    for (int i = 0; i < 3; ++i) {
        wxString text = wxFromUtf8(texts[size_t(i)]);
        if (text != statusTexts_[size_t(i)]) {
            statusTexts_[size_t(i)] = text;
            bar->SetStatusText(text, i);
        }
    }
}

wxString CMainFrame::StatusText(int pane) const
{
    return GetStatusBar() ? GetStatusBar()->GetStatusText(pane) : wxString();
}

bool CMainFrame::TryBefore(wxEvent& event)
{
    if (event.GetEventType() == wxEVT_CLOSE_WINDOW) {
        auto& close = static_cast<wxCloseEvent&>(event);
        // Closing while MIDI plays would destroy views the MIDI thread still writes to.
        if (MainFrameCloseDecision(ActiveKind(), wxGetApp().m_Playing != 0) == CloseDecision::Refuse &&
            close.CanVeto()) {
            close.Veto();
            return true;
        }
        // Every changed document is asked about before any window goes.
        if (close.CanVeto() && !AskBeforeClosingAll()) {
            close.Veto();
            return true;
        }
        SaveBarState();
    }
    return wxDocParentFrameAny<ZibMdiParentFrame>::TryBefore(event);
}

bool CMainFrame::ProcessEvent(wxEvent& event)
{
    if (event.GetEventType() == wxEVT_MENU && &event != committedFor_) {
        const int command = cmd::FromWxId(event.GetId());
        if (command == cmd::WindowCloseAll) {
            committedFor_ = &event;
            CloseAllWindows();
            committedFor_ = nullptr;
            return true;
        }
        if (CommandCommitsOpenEdits(command)) {
            wxWindow* active = GetActiveChild();
            if (active && !CommitInPlaceEdits(*active)) return true;
            committedFor_ = &event;
            const bool processed = wxDocParentFrameAny<ZibMdiParentFrame>::ProcessEvent(event);
            committedFor_ = nullptr;
            return processed;
        }
    }
    return wxDocParentFrameAny<ZibMdiParentFrame>::ProcessEvent(event);
}

bool CMainFrame::AskBeforeClosingAll()
{
    if (wxAuiMDIClientWindow* client = GetClientWindow())
        for (size_t i = 0; i < client->GetPageCount(); ++i) {
            wxWindow* page = client->GetPage(i);
            if (CommitInPlaceEdits(*page)) continue;
            if (client->GetSelection() != int(i)) client->SetSelection(i); // the refused value shows
            return false;
        }
    if (!m_docManager) return true;
    // Yes saves, No drops the changes once every document was answered,
    // Cancel stops and leaves every document as it was.
    return CZibDocument::AskToSaveAll(m_docManager->GetDocumentsVector());
}

bool CMainFrame::CloseAllWindows()
{
    // Closing playing windows would destroy views the MIDI thread still writes to.
    if (wxGetApp().m_Playing != 0) return false;
    if (!AskBeforeClosingAll()) return false;
    // Each document closes with all its windows, its tool windows without
    // writing back into it (it was saved, or its changes dropped, above).
    if (m_docManager && !m_docManager->CloseDocuments(false)) return false;
    if (wxAuiMDIClientWindow* client = GetClientWindow())
        while (wxAuiMDIChildFrame* child = GetActiveChild()) {
            if (!child->Close()) return false;
            if (client->GetPageCount() > 0 && GetActiveChild() == child) return false; // it stays
        }
    return true;
}

void CMainFrame::SaveBarState()
{
    wxGetApp().GetProfile().setString("General", "ToolbarLayout", wxToUtf8(mgr_.SavePerspective()));
}

void CMainFrame::PlayMidiFileExternally(const std::string& path)
{
    // The player window clears the open byte when it closes itself; only
    // while it is set does the pointer name a live window.
    if (m_PlayerOpen && m_PlayerWindow) m_PlayerWindow->Close();
    m_PlayerWindow = nullptr;
    m_PlayerOpen = 0;
    ZibSettings& settings = wxGetApp().Settings();
    if (settings.MidiPlaybackApp == 1) {
        // The player runs on its own; the file is deleted when it has ended,
        // or at once when it cannot be started.
        std::vector<std::string> args = ExternalPlayerArgs(settings.MidiPlayerCommand, path);
        if (args.empty()) {
            std::remove(path.c_str());
            return;
        }
        std::vector<const char*> argv;
        for (const auto& a : args)
            argv.push_back(a.c_str());
        argv.push_back(nullptr);
        auto* process = new PlayerProcess(path);
        if (wxExecute(argv.data(), wxEXEC_ASYNC, process) == 0) {
            delete process;
            std::remove(path.c_str());
        }
        return;
    }
    auto& create = wxGetApp().Subsystems().CreatePlayMidiFile;
    wxWindow* player = create ? create(*this, wxFromUtf8(path), &m_PlayerOpen) : nullptr;
    if (!player) {
        m_PlayerWindow = nullptr;
        m_PlayerOpen = 0;
        // Nobody will play the temporary file, so nobody else will delete it
        // (kept on purpose: it would otherwise stay behind).
        std::remove(path.c_str());
        return;
    }
    m_PlayerWindow = player;
    player->Show();
    player->Update();
    if (auto* child = dynamic_cast<ZibMdiChildFrame*>(player)) child->Activate();
}

wxWindow* CMainFrame::OpenStyPropFrame(const wxString& title, uint8_t* frameOpen, wxDocument* document, int row)
{
    const auto& open = wxGetApp().Subsystems().OpenStyPropFrame;
    return open ? open(*this, title, frameOpen, document, row) : nullptr;
}

wxWindow* CMainFrame::OpenPadPropFrame(const wxString& title, uint8_t* frameOpen, wxDocument* document, int row)
{
    const auto& open = wxGetApp().Subsystems().OpenPadPropFrame;
    return open ? open(*this, title, frameOpen, document, row) : nullptr;
}

CTextViewer* CMainFrame::OpenTextViewer(const wxString& title, uint8_t* openerFlag, wxDocument* document,
                                        uint32_t midiWindow)
{
    auto* viewer = new CTextViewer(openerFlag, document, midiWindow);
    if (!viewer->Create(this, title)) {
        delete viewer;
        return nullptr;
    }
    viewer->CreateTextCtrl();
    viewer->Show();
    viewer->Activate();
    return viewer;
}

} // namespace zib
