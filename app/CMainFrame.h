#pragma once

#include "ui/CMainToolBar.h"
#include "app/CTiledBitmapWnd.h"
#include "ui/MdiFrameTypes.h"
#include "ui/core/ChildKind.h"
#include "ui/core/MenuModel.h"
#include "ui/core/ToolbarChoice.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include <wx/aui/framemanager.h>
#include <wx/docview.h>

namespace zib {

class CTextViewer;
class CZibMdiChild;

// The program's main window: an MDI frame with ten docked bars and a
// three-pane status bar. It shows the bars and the menu that fit the active
// child window, keeps the status panes current, refuses to close while MIDI
// plays, switches the UI language, and opens tool windows for other areas.
class CMainFrame : public wxDocParentFrameAny<ZibMdiParentFrame> {
public:
    explicit CMainFrame(wxDocManager* manager);
    ~CMainFrame() override;

    // Creates the window with its bars and status bar; false on any failure.
    bool CreateMainFrame();

    // The program's main frame, or null before it exists and after it is gone.
    static CMainFrame* Get();

    // Bars
    // Shows the bar set that fits the active child (the argument is not used).
    void ShowToolbarsForActiveFrame(int showCommand = 5);
    // Presses (nonzero) or releases a button of the bars shown for the active
    // child (the current document toolbar, then the bar that holds it).
    void CheckToolbarButton(int id, int state);
    int IsToolbarButtonChecked(int id);
    // The bar (made now when it was not yet).
    CMainToolBar* Toolbar(MainBar bar);
    bool IsBarShown(MainBar bar);
    MainBar CurrentDocumentBar() const { return currentDocBar_; }
    const BarFlags& Flags() const { return flags_; }
    // A bar the user dragged: its place is kept in the slot of the active child's kind.
    void ToolbarMovedByUser(CMainToolBar& bar);

    // Services for other areas
    // Plays a temporary MIDI file with the external player command or the
    // built-in player window; the file is deleted when the player is done.
    void PlayMidiFileExternally(const std::string& path);
    // A new text viewer child, or null when its window cannot be made.
    CTextViewer* OpenTextViewer(const wxString& title, uint8_t* openerFlag, wxDocument* document,
                                uint32_t midiWindow);

    // The edit frame of one style or pad item (the style and pad area makes
    // it), or null when it cannot be made.
    wxWindow* OpenStyPropFrame(const wxString& title, uint8_t* frameOpen, wxDocument* document, int row);
    wxWindow* OpenPadPropFrame(const wxString& title, uint8_t* frameOpen, wxDocument* document, int row);

    // Language
    void ApplyLanguage(int index);
    void OnLanguage(wxCommandEvent& event);
    void OnUpdateLanguage(wxUpdateUIEvent& event);
    // Builds the menu bar again (new language, new recent files).
    void RebuildMenus();

    // The active child changed (also noticed on idle).
    void ActiveChildChanged();
    // Holds the frame's painting until the program is next idle: a new
    // window's bars, menus and panes are laid out (and sized again as the
    // toolkit places them) without a repaint of the frame at every step, and
    // painted once
    void HoldPaintingUntilIdle();
    CZibMdiChild* ActiveZibChild() const;
    ChildKind ActiveKind() const;

    // Status panes as shown
    wxString StatusText(int pane) const;

    // Player window of the built-in player
    uint8_t m_PlayerOpen = 0;
    wxWindow* m_PlayerWindow = nullptr;

    // Before the program or every window closes: every open in-place edit is
    // committed and each changed document asked about ("Save changes"); false
    // when a value was refused or the user cancelled, with every window left
    // as it was.
    bool AskBeforeClosingAll();

    // wxAuiMDIParentFrame: the commands that save, close, play or export
    // commit the open in-place edits of the active window first; Close All
    // asks about every changed document before it closes any window.
    bool ProcessEvent(wxEvent& event) override;

protected:
    bool TryBefore(wxEvent& event) override;

private:
    bool CreateBars();
    wxWindow* EnsureBar(MainBar bar);
    CMainToolBar* BarWithButton(int id) const;
    void LayoutBars();
    void ApplyPlace(MainBar bar, const BarPlace& place, bool show);
    void ShowBar(MainBar bar, bool show);
    void UpdateStatusPanes();
    // Names the active window's document in the title
    void UpdateTitle();
    void UpdatePaneWidths();
    void ShowMenuFor(int templateId);
    const MenuBarDef& MenuDefFor(int templateId);
    void SaveBarState();
    void OnToolbarsDialog(wxCommandEvent& event);
    void OnUpdateViewToolbar(wxUpdateUIEvent& event);
    void OnViewStatusBar(wxCommandEvent& event);
    void OnUpdateViewStatusBar(wxUpdateUIEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnMove(wxMoveEvent& event);
    void OnIdle(wxIdleEvent& event);
    // Window > Close All: false when it stopped before closing every window
    bool CloseAllWindows();

    wxAuiManager mgr_;
    BarFlags flags_;
    // The ten bars (the seven main toolbars, then the three MIDI bars) and
    // each bar's remembered place per kind of active child; slot 7 is the
    // one the frame docks by.
    static constexpr int kSlots = 8;
    std::array<CMainToolBar*, kMainBarCount> bars_{};
    std::array<wxWindow*, kMainBarCount> barWindows_{};
    std::array<std::array<BarPlace, kSlots>, kMainBarCount> places_{};
    MainBar currentDocBar_ = MainBar::Standard;
    std::unique_ptr<CTiledBitmapWnd> background_;
    wxWindow* lastActive_ = nullptr;
    int menuTemplateId_ = -1;
    int menuLanguage_ = -1;
    MenuBarDef mainMenu_;
    MenuBarDef mainMenuWithWindow_;
    std::vector<std::unique_ptr<wxMenuBar>> retiredMenuBars_;
    std::array<wxString, 3> statusTexts_;
    bool created_ = false;
    bool paintingHeld_ = false;
    // The menu event whose open edits were committed (it comes back here
    // once the active child has passed it on)
    const wxEvent* committedFor_ = nullptr;
};

} // namespace zib
