#pragma once

#include "ui/ShellServices.h"
#include "ui/ZibSubsystems.h"
#include "ui/core/RecentFileList.h"
#include "ui/core/StreamBuffers.h"
#include "ui/core/PlayerSlot.h"
#include "ui/core/ZibSettings.h"
#include "platform/SharedLibrary.h"

#include <array>
#include <atomic>
#include <memory>
#include <string>
#include <wx/app.h>
#include <wx/dataobj.h>
#include <wx/docview.h>

namespace zib {

class CMainFrame;
class CZibDocManager;
class Profile;
class CInsInstrument;
class CInsNameEntry;

// The application object: start-up and exit, the program's shared state
// (language, program folder, settings, MIDI device choices, clipboard format,
// the active player) and the commands that need no open document.
class CZibApp : public wxApp, public ShellServices {
public:
    CZibApp();
    ~CZibApp() override;

    // Start-up and exit
    bool OnInit() override;
    int OnExit() override;
    bool InitInstance();
    int ExitInstance();

    // Shared state
    ZibSettings& Settings() override { return *m_settings; }
    Profile& GetProfile() { return *m_profile; }
    int Language() const override { return m_settings ? m_settings->AppLanguage : 0; }
    const std::string& ProgramFolder() const { return m_ProgramFolder; }
    CZibDocManager* DocManager() { return m_docManager.get(); }
    CMainFrame* MainFrame() const;
    ZibSubsystems& Subsystems() override { return m_subsystems; }
    const RecentFileList& RecentFiles() const { return m_recentFiles; }
    // Whether UlvaRf and ZibTbl were loaded by name at start-up.
    bool UlvaRfLoaded() const { return m_ulvarf.isOpen(); }
    bool ZibTblLoaded() const { return m_zibtbl.isOpen(); }

    // Settings setters (stored and written at once)
    void SetLastOpenedDirectory(const std::string& folder) override { m_settings->SetLastOpenedDirectory(folder); }
    void SetKeyAlphabet(int n) { m_settings->SetKeyAlphabet(n); }
    void SaveUserMidiPorts() { m_settings->SaveUserMidiPorts(); }

    // Services
    // Opens a file as a document; null when nothing was opened.
    wxDocument* OpenDocumentFile(const std::string& path) override;
    void AddToRecentFileList(const std::string& path) override;
    // The ten playback buffers, allocated on the first call; null when
    // memory ran out. FreePlaybackBuffers frees them (at the exit).
    StreamBuffers* AllocStreamBuffers() override;
    void FreePlaybackBuffers();
    // The Play/Stop toggle of every player: while something plays, stops
    // the active player; otherwise starts `player` (kind: PlayerKind)
    void StartStopPlayer(IZibPlayer* player, int kind) override;
    PlayerSlot& Player() override { return m_playerSlot; }

    // The rest of the services for the areas (ShellServices)
    const std::string& ExeName() const override { return m_ExeName; }
    int NewDocSubType() const override { return m_NewDocSubType; }
    std::array<std::string, 128>& MidiOutDeviceNames() override { return m_MidiOutDeviceNames; }
    std::array<std::string, 128>& MidiInDeviceNames() override { return m_MidiInDeviceNames; }
    std::vector<std::shared_ptr<CInsInstrument>>& Instruments() override { return m_Instruments; }
    bool& InstrumentsLoaded() override { return m_InstrumentsLoaded; }
    std::vector<std::shared_ptr<CInsNameEntry>>& PortInstrumentRelations() override
    {
        return m_PortInstrumentRelations;
    }
    bool& RelationsLoaded() override { return m_RelationsLoaded; }
    std::atomic<int>& Playing() override { return m_Playing; }
    ZibMdiParentFrame* Frame() const override;
    CZibMdiChild* ActiveZibChild() const override;
    void SetStatusText(const wxString& text, int pane = 0) override;
    void ActiveChildChanged() override;
    void HoldPaintingUntilIdle() override;
    void ShowToolbarsForActiveFrame() override;
    void CheckToolbarButton(int id, int state) override;
    CMainToolBar* Toolbar(MainBar bar) override;
    void ToolbarMovedByUser(CMainToolBar& bar) override;
    CTextViewer* OpenTextViewer(const wxString& title, uint8_t* openerFlag, wxDocument* document,
                                uint32_t midiWindow) override;
    void PlayMidiFileExternally(const std::string& path) override;
    void PlayerWindowClosed(wxWindow* window) override;
    wxWindow* OpenStyPropFrame(const wxString& title, uint8_t* frameOpen, wxDocument* document, int row) override;
    wxWindow* OpenPadPropFrame(const wxString& title, uint8_t* frameOpen, wxDocument* document, int row) override;

    // Application commands (handlers of the menu commands that need no document)
    void OnAppAbout(wxCommandEvent& event);
    void OnFileNew(wxCommandEvent& event);
    void OnFileOpen(wxCommandEvent& event);
    void OnFileMru(wxCommandEvent& event);
    void OnSortingMethod(wxCommandEvent& event);
    void OnTransposeSetting(wxCommandEvent& event);
    void OnKeyboardType(wxCommandEvent& event);
    void OnWqConversionSettings(wxCommandEvent& event);
    void OnStyToMidiSettings(wxCommandEvent& event);
    void OnQeConversionSettings(wxCommandEvent& event);
    void OnPlaybackSettings(wxCommandEvent& event);
    void OnQeTrackToWqTrack(wxCommandEvent& event);
    void OnPsrSettings(wxCommandEvent& event);
    void OnMidiPortsSettings(wxCommandEvent& event);
    void OnInstruments(wxCommandEvent& event);
    void OnCollectWqCvMidi(wxCommandEvent& event);
    void OnCollectQeCvMidi(wxCommandEvent& event);
    void OnConvertYamahaStyToQeSty(wxCommandEvent& event);
    void OnHelpFinder(wxCommandEvent& event);
    void OnUpdateNeedsSubsystem(wxUpdateUIEvent& event);

    // Shared state; the areas reach it through ShellServices
    std::string m_ProgramFolder;                       // the executable's folder
    std::string m_ExeName;                             // the executable's file name
    std::string m_HelpFilePath;                        // no help system: always empty
    std::array<std::string, 128> m_MidiOutDeviceNames; // "%3d - %s"
    std::array<std::string, 128> m_MidiInDeviceNames;
    int m_NewDocSubType = -1;       // the sub-type chosen in the last New dialog
    uint32_t m_ClipboardFormat = 0; // nonzero once the private format is registered
    wxDataFormat m_ZibDataFormat;   // the private clipboard format itself
    int m_StyMessage = 0;           // ids of the two private messages
    int m_PrgMessage = 0;
    // The active player, its kind (1 MIDI bar view, 2 style playback
    // console) and whether it plays. Also written by the MIDI delivery
    // threads; seen together through Player().
    std::atomic<IZibPlayer*> m_ActivePlayer{nullptr};
    std::atomic<int> m_ActivePlayerKind{0};
    std::atomic<int> m_Playing{0};
    // The playback buffers of the MIDI engine
    StreamBuffers m_StreamBuffers;
    // Instrument definitions and port-instrument relations, each with its loaded flag.
    std::vector<std::shared_ptr<CInsInstrument>> m_Instruments;
    bool m_InstrumentsLoaded = false;
    std::vector<std::shared_ptr<CInsNameEntry>> m_PortInstrumentRelations;
    bool m_RelationsLoaded = false;

private:
    void BindCommands();
    void LoadSharedLibraries();
    bool AskForAuthor();
    void RegisterPrivateFormats();
    void ProcessCommandLine();
    bool RunCollection(bool qeSeries);

    std::unique_ptr<Profile> m_profile;
    std::unique_ptr<ZibSettings> m_settings;
    std::unique_ptr<CZibDocManager> m_docManager;
    RecentFileList m_recentFiles;
    ZibSubsystems m_subsystems;
    SharedLibrary m_ulvarf;
    SharedLibrary m_zibtbl;
    PlayerSlot m_playerSlot{m_Playing, m_ActivePlayer, m_ActivePlayerKind};
};

} // namespace zib

wxDECLARE_APP(zib::CZibApp);
