#include "devices/WxPlaybackUi.h"

#include "app/CMainFrame.h"
#include "app/ZibMessageBox.h"
#include "platform/WxText.h"

namespace zib {

void WxPlaybackUi::ShowMessage(int message, const char* caption, PlaybackIcon icon)
{
    ZibMessageBox(message, caption, wxOK | (icon == PlaybackIcon::Stop ? wxICON_STOP : wxICON_EXCLAMATION), m_owner);
}

void WxPlaybackUi::ShowPlaybackError(const std::string& text)
{
    ZibTextBox(wxFromUtf8(text), "MIDI Playback error", wxOK | wxICON_EXCLAMATION, m_owner);
}

void WxPlaybackUi::ShowStatus(const std::string& text)
{
    if (CMainFrame* frame = CMainFrame::Get()) frame->SetStatusText(wxFromUtf8(text), 0);
}

} // namespace zib
