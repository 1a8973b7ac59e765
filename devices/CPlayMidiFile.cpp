#include "devices/CPlayMidiFile.h"

#include "ui/ShellServices.h"
#include "ui/core/ZibSettings.h"
#include "ui/ZibMessageBox.h"
#include "devices/AppPlaybackHost.h"
#include "devices/core/PlayMidiFileModel.h"
#include "platform/WxText.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

namespace zib {

CPlayMidiFile::CPlayMidiFile(ZibMdiParentFrame& frame, const wxString& path, uint8_t* playing)
    : CZibMdiChild(&frame, wxID_ANY, "TmpRary.mid", wxDefaultPosition, wxSize(360, 110),
                   wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX, "MidiPlayWindow"),
      WxPlaybackUi(this)
{
    SetTitle("TmpRary.mid");
    m_model = std::make_unique<PlayMidiFileModel>(std::filesystem::path(wxToUtf8(path)), playing, AppPlaybackHost::Get(),
                                                  Shell().Settings().MidiOutDevID, *this);
    if (!m_model->Open()) {
        ZibTextBox(UiTextWx("Cannot create MCI PlayBack Window"), "OnUtilPlaymidi", wxOK | wxICON_WARNING,
                   wxWindow::FindFocus());
        return; // an empty window; closing it deletes the file
    }
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    m_play = new wxButton(this, wxID_ANY, UiTextWx("&Play"));
    m_stop = new wxButton(this, wxID_ANY, UiTextWx("Stop"));
    m_position = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(120, -1), wxTE_READONLY);
    row->Add(m_play, 0, wxALL, 4);
    row->Add(m_stop, 0, wxALL, 4);
    row->Add(m_position, 1, wxALL | wxALIGN_CENTER_VERTICAL, 4);
    SetSizer(row);
    m_play->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        m_model->Play();
        UpdateButtons();
    });
    m_stop->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { m_model->Stop(); });
    Layout();
    UpdateButtons();
}

CPlayMidiFile::~CPlayMidiFile()
{
    if (ShellServices* shell = ShellServices::Get()) shell->PlayerWindowClosed(this);
    m_model.reset(); // stops at once, deletes the file, clears the caller's flag
}

void CPlayMidiFile::UpdateButtons()
{
    if (!m_play) return;
    const bool playing = m_model->IsPlaying();
    m_play->Enable(!playing);
    m_stop->Enable(playing);
}

void CPlayMidiFile::RequestDelivery()
{
    CallAfter([this] {
        if (m_model && m_model->Engine()) m_model->Engine()->DeliverUi();
    });
}

void CPlayMidiFile::SetPositionText(const std::string& text)
{
    if (m_position) m_position->ChangeValue(wxFromUtf8(text));
}

void CPlayMidiFile::PlaybackFinished(bool)
{
    UpdateButtons();
}

} // namespace zib
