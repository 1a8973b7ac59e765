#pragma once

#include "tests/support/MemoryProfile.h"
#include "ui/ShellServices.h"
#include "ui/ZibSubsystems.h"
#include "ui/core/StreamBuffers.h"
#include "ui/core/PlayerSlot.h"
#include "ui/core/ZibSettings.h"

namespace zib::test {

// The program's services for a test or benchmark that shows an area's window
// without the program: settings in memory, English, nothing playing, no main
// frame, no documents, no other area wired.
class TestShell : public ShellServices {
public:
    TestShell() = default;
    ~TestShell() override = default;

    ZibSettings& Settings() override { return settings_; }
    int Language() const override { return 0; }
    void SetLastOpenedDirectory(const std::string&) override {}
    const std::string& ExeName() const override { return exeName_; }
    int NewDocSubType() const override { return -1; }
    ZibSubsystems& Subsystems() override { return subsystems_; }
    std::array<std::string, 128>& MidiOutDeviceNames() override { return outNames_; }
    std::array<std::string, 128>& MidiInDeviceNames() override { return inNames_; }
    std::vector<std::shared_ptr<CInsInstrument>>& Instruments() override { return instruments_; }
    bool& InstrumentsLoaded() override { return instrumentsLoaded_; }
    std::vector<std::shared_ptr<CInsNameEntry>>& PortInstrumentRelations() override { return relations_; }
    bool& RelationsLoaded() override { return relationsLoaded_; }
    PlayerSlot& Player() override { return slot_; }
    std::atomic<int>& Playing() override { return playing_; }
    void StartStopPlayer(IZibPlayer* player, int kind) override { slot_.StartStop(player, kind); }
    StreamBuffers* AllocStreamBuffers() override { return buffers_.Alloc() ? &buffers_ : nullptr; }
    wxDocument* OpenDocumentFile(const std::string&) override { return nullptr; }
    void AddToRecentFileList(const std::string&) override {}
    ZibMdiParentFrame* Frame() const override { return nullptr; }
    CZibMdiChild* ActiveZibChild() const override { return nullptr; }
    void SetStatusText(const wxString&, int) override {}
    void ActiveChildChanged() override {}
    void HoldPaintingUntilIdle() override {}
    void ShowToolbarsForActiveFrame() override {}
    void CheckToolbarButton(int, int) override {}
    CMainToolBar* Toolbar(MainBar) override { return nullptr; }
    void ToolbarMovedByUser(CMainToolBar&) override {}
    CTextViewer* OpenTextViewer(const wxString&, uint8_t*, wxDocument*, uint32_t) override { return nullptr; }
    void PlayMidiFileExternally(const std::string&) override {}
    void PlayerWindowClosed(wxWindow*) override {}
    wxWindow* OpenStyPropFrame(const wxString&, uint8_t*, wxDocument*, int) override { return nullptr; }
    wxWindow* OpenPadPropFrame(const wxString&, uint8_t*, wxDocument*, int) override { return nullptr; }

private:
    MemoryProfile profile_;
    ZibSettings settings_{profile_};
    std::string exeName_ = "zib";
    ZibSubsystems subsystems_;
    std::array<std::string, 128> outNames_{};
    std::array<std::string, 128> inNames_{};
    std::vector<std::shared_ptr<CInsInstrument>> instruments_;
    bool instrumentsLoaded_ = false;
    std::vector<std::shared_ptr<CInsNameEntry>> relations_;
    bool relationsLoaded_ = false;
    std::atomic<int> playing_{0};
    std::atomic<IZibPlayer*> active_{nullptr};
    std::atomic<int> kind_{0};
    PlayerSlot slot_{playing_, active_, kind_};
    StreamBuffers buffers_;
};

} // namespace zib::test
