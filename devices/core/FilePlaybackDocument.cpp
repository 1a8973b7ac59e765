#include "devices/core/FilePlaybackDocument.h"

namespace zib {

FilePlaybackDocument::FilePlaybackDocument(const std::vector<uint8_t>& image, bool onePort)
{
    m_parseResult = m_sequence.ParseImage(image.data(), uint32_t(image.size()));
    for (int row = 0; row < 64; ++row) {
        const CMidiParserEx::Track* t = m_sequence.GetTrack(row + 1);
        PlaybackTrack& r = m_tracks[size_t(row)];
        if (!t || m_parseResult != 0) continue;
        r.channel = t->channel;
        r.port = onePort ? 0 : t->port;
        r.volume = t->volume;
        r.pan = t->pan;
        r.bankMsb = t->bankMsbSeen ? t->bankMsb : 255;
        r.bankLsb = t->bankLsb;
        r.program = t->programSeen ? t->program : 255;
    }
}

} // namespace zib
