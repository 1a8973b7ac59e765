#pragma once

#include "ui/MdiFrameTypes.h"
#include "ui/core/ToolbarChoice.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class wxDocument;
class wxString;
class wxWindow;

namespace zib {

class CInsInstrument;
class CInsNameEntry;
class CMainToolBar;
class CTextViewer;
class CZibMdiChild;
class IZibPlayer;
class PlayerSlot;
class StreamBuffers;
class ZibSettings;
struct ZibSubsystems;

// What the areas use of the running program: its settings and language, the
// player, recent files and documents, and the main frame with its active
// child, bars and status text. The shell implements it (one object for the
// whole run); the areas reach it through Shell() and never see the
// application or the main frame classes.
class ShellServices {
public:
    // The application's name: profile, clipboard format and captions.
    static constexpr const char* kAppName = "Zib";

    // The program's services, or null while no program runs (a window or a
    // document tested on its own without an application object).
    static ShellServices* Get();

    // Settings, language and names
    virtual ZibSettings& Settings() = 0;
    virtual int Language() const = 0;
    virtual void SetLastOpenedDirectory(const std::string& folder) = 0;
    // The executable's file name (message box captions).
    virtual const std::string& ExeName() const = 0;
    // The sub-type chosen in the last New dialog.
    virtual int NewDocSubType() const = 0;

    // The other areas' services, as the shell wired them
    virtual ZibSubsystems& Subsystems() = 0;

    // MIDI devices and instruments ("%3d - %s" device names, 128 each)
    virtual std::array<std::string, 128>& MidiOutDeviceNames() = 0;
    virtual std::array<std::string, 128>& MidiInDeviceNames() = 0;
    virtual std::vector<std::shared_ptr<CInsInstrument>>& Instruments() = 0;
    virtual bool& InstrumentsLoaded() = 0;
    virtual std::vector<std::shared_ptr<CInsNameEntry>>& PortInstrumentRelations() = 0;
    virtual bool& RelationsLoaded() = 0;

    // The player
    virtual PlayerSlot& Player() = 0;
    // Nonzero while MIDI plays; also written by the delivery threads.
    virtual std::atomic<int>& Playing() = 0;
    // The Play/Stop toggle of every player (kind: PlayerKind).
    virtual void StartStopPlayer(IZibPlayer* player, int kind) = 0;
    // The playback buffers, allocated on the first call; null when memory ran out.
    virtual StreamBuffers* AllocStreamBuffers() = 0;

    // Documents and recent files
    // Opens a file as a document; null when nothing was opened.
    virtual wxDocument* OpenDocumentFile(const std::string& path) = 0;
    virtual void AddToRecentFileList(const std::string& path) = 0;

    // The main frame: null before it exists and after it is gone; every call
    // below does nothing (or returns null) then.
    virtual ZibMdiParentFrame* Frame() const = 0;
    virtual CZibMdiChild* ActiveZibChild() const = 0;
    virtual void SetStatusText(const wxString& text, int pane = 0) = 0;
    // The active child changed: its bars, menus and status panes.
    virtual void ActiveChildChanged() = 0;
    // Holds the frame's painting until the program is next idle, so that a
    // new window's bars, menus and panes are laid out and painted once.
    virtual void HoldPaintingUntilIdle() = 0;
    // Shows the bar set that fits the active child.
    virtual void ShowToolbarsForActiveFrame() = 0;
    // Presses (nonzero) or releases a button of the bars shown for the active child.
    virtual void CheckToolbarButton(int id, int state) = 0;
    // The bar (made now when it was not yet).
    virtual CMainToolBar* Toolbar(MainBar bar) = 0;
    // A bar the user dragged: its place is kept for the active child's kind.
    virtual void ToolbarMovedByUser(CMainToolBar& bar) = 0;
    // A new text viewer child, or null when its window cannot be made.
    virtual CTextViewer* OpenTextViewer(const wxString& title, uint8_t* openerFlag, wxDocument* document,
                                        uint32_t midiWindow) = 0;
    // Plays a temporary MIDI file with the external player command or the
    // built-in player window; the file is deleted when the player is done.
    virtual void PlayMidiFileExternally(const std::string& path) = 0;
    // The built-in player window went: the frame forgets it when it is its own.
    virtual void PlayerWindowClosed(wxWindow* window) = 0;
    // The edit frame of one style or pad item, or null when it cannot be made.
    virtual wxWindow* OpenStyPropFrame(const wxString& title, uint8_t* frameOpen, wxDocument* document, int row) = 0;
    virtual wxWindow* OpenPadPropFrame(const wxString& title, uint8_t* frameOpen, wxDocument* document, int row) = 0;

protected:
    // The shell's object makes itself the program's services while it lives.
    ShellServices();
    virtual ~ShellServices();
    ShellServices(const ShellServices&) = delete;
    ShellServices& operator=(const ShellServices&) = delete;
};

// The running program's services; only called where a program runs.
inline ShellServices& Shell()
{
    return *ShellServices::Get();
}

// The program's language; English (0) where no program runs.
inline int ShellLanguage()
{
    ShellServices* shell = ShellServices::Get();
    return shell ? shell->Language() : 0;
}

// Whether the program is playing a song or style now.
inline bool ShellPlaying()
{
    return Shell().Playing() != 0;
}

// The main frame as the parent of a dialog; null when there is none.
inline ZibMdiParentFrame* ShellFrame()
{
    ShellServices* shell = ShellServices::Get();
    return shell ? shell->Frame() : nullptr;
}

} // namespace zib
