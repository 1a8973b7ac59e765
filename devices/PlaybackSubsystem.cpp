#include "devices/PlaybackSubsystem.h"

#include "app/CMainFrame.h"
#include "app/CZibApp.h"
#include "app/ZibSubsystems.h"
#include "devices/CBarViewHostFrame.h"
#include "devices/CPlayMidiFile.h"
#include "devices/CZibMidBarView.h"
#include "devices/dialogs/CRecordInputDlg.h"
#include "platform/WxText.h"

#include <wx/textctrl.h>

namespace zib {

namespace {

// Script lines of the test driver:
//   bar-view PATH              opens the bar view host on a MIDI file
//   bar-view-state             writes the host's position text and whether MIDI plays
//   close-player               closes the built-in player window
//   run-dialog record-input    runs Track Record Input on sample codes and writes the first four after it
bool runTestCommand(const std::vector<std::string>& w, const std::function<void(const std::string&)>& log)
{
    const std::string verb = w.empty() ? std::string() : w[0];
    CMainFrame* frame = CMainFrame::Get();
    if (verb == "bar-view" && frame && w.size() > 1) {
        CBarViewHostFrame* host = CBarViewHostFrame::Open(*frame, w[1]);
        log("bar-view: opened=" + std::to_string(host != nullptr));
        return true;
    }
    if (verb == "bar-view-state" && frame) {
        auto* host = dynamic_cast<CBarViewHostFrame*>(frame->GetActiveChild());
        log("bar-view-state: position=\"" + (host ? wxToUtf8(host->PositionText()->GetValue()) : std::string()) +
            "\" playing=" + std::to_string(wxGetApp().m_Playing.load()));
        return true;
    }
    if (verb == "close-player" && frame) {
        if (frame->m_PlayerWindow) frame->m_PlayerWindow->Close(true);
        log("close-player");
        return true;
    }
    if (verb == "run-dialog" && w.size() > 1 && w[1] == "record-input") {
        std::array<uint32_t, 64> codes{};
        codes[1] = 5;
        codes[2] = 18 | (1u << 0 | 1u << 9) << 16;
        CRecordInputDlg dlg(frame, codes, 70);
        const int r = dlg.ShowModal();
        std::string text = "record-input: result=" + std::to_string(r) + " codes=";
        for (int i = 0; i < 4; ++i) text += (i ? "," : "") + std::to_string(r == wxID_OK ? dlg.Codes()[size_t(i)] : codes[size_t(i)]);
        log(text);
        return true;
    }
    return false;
}

} // namespace

void ConnectPlayback(ZibSubsystems& subsystems)
{
    subsystems.CreatePlayMidiFile = [](CMainFrame& frame, const wxString& path, uint8_t* playing) -> wxWindow* {
        return new CPlayMidiFile(frame, path, playing);
    };
    subsystems.TestCommands.push_back(runTestCommand);
}

} // namespace zib
