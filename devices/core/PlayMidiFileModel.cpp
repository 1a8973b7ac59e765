#include "devices/core/PlayMidiFileModel.h"

#include "ui/core/PlayerSlot.h"
#include "devices/core/PlaybackHost.h"
#include "platform/FileIo.h"

#include <system_error>

namespace zib {

PlayMidiFileModel::PlayMidiFileModel(std::filesystem::path path, uint8_t* playerOpen, PlaybackHost& app,
                                     int deviceId, PlaybackUi& ui)
    : m_path(std::move(path)), m_playerOpen(playerOpen), m_app(app), m_ui(ui), m_host(app, deviceId)
{
}

PlayMidiFileModel::~PlayMidiFileModel()
{
    Close();
    if (m_playerOpen) *m_playerOpen = 0;
}

bool PlayMidiFileModel::Open()
{
    std::vector<uint8_t> image;
    if (readWholeFile(m_path, image) != FileIoError::None) return false;
    auto document = std::make_unique<FilePlaybackDocument>(image, true);
    if (!document->Ok()) return false;
    m_document = std::move(document);
    m_engine = std::make_unique<PlaybackEngine>(*m_document, m_ui, m_host);
    if (m_playerOpen) *m_playerOpen = 1;
    m_engine->PrepareForDocument();
    Play();
    return true;
}

bool PlayMidiFileModel::IsPlaying() const
{
    return m_engine && m_app.Player().IsPlaying() && m_app.Player().Active() == m_engine.get();
}

void PlayMidiFileModel::Play()
{
    if (!m_engine || m_app.Player().IsPlaying()) return;
    m_engine->Rewind();
    m_engine->StartMidiPlayback();
}

void PlayMidiFileModel::Stop()
{
    if (IsPlaying()) m_engine->StopMidiPlayback();
}

void PlayMidiFileModel::Close()
{
    if (m_closed) return;
    m_closed = true;
    m_engine.reset(); // ends its notes and closes its streams at once
    std::error_code ec;
    std::filesystem::remove(m_path, ec); // a file that cannot go is left without a word
}

} // namespace zib
