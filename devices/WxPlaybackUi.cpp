#include "devices/WxPlaybackUi.h"

#include "ui/ShellServices.h"
#include "ui/ZibMessageBox.h"
#include "platform/WxText.h"

namespace zib {

namespace {

long iconStyle(PlaybackIcon icon)
{
    return icon == PlaybackIcon::Stop ? wxICON_STOP : wxICON_EXCLAMATION;
}

} // namespace

void WxPlaybackUi::ShowMessage(int message, const char* caption, PlaybackIcon icon)
{
    ZibMessageBox(message, caption, wxOK | iconStyle(icon), m_owner);
}

void WxPlaybackUi::ShowFailure(const std::string& text, const char* caption, PlaybackIcon icon)
{
    ZibTextBox(wxFromUtf8(text), caption, wxOK | iconStyle(icon), m_owner);
}

void WxPlaybackUi::ShowPlaybackError(const std::string& text)
{
    ZibTextBox(wxFromUtf8(text), "MIDI Playback error", wxOK | wxICON_EXCLAMATION, m_owner);
}

void WxPlaybackUi::ShowStatus(const std::string& text)
{
    if (ShellServices* shell = ShellServices::Get()) shell->SetStatusText(wxFromUtf8(text), 0);
}

} // namespace zib
