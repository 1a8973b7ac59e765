#pragma once

#include "devices/core/IPlaybackDocument.h"
#include "midi/CMidiParserEx.h"

#include <array>
#include <cstdint>
#include <vector>

namespace zib {

// A MIDI file as the playback engine sees a document, for the windows that
// play a file without a MIDI document: the built-in player window and the
// bar view's test host. The track records come from the sequence's first
// values; every track sounds. Nothing is kept for undo.
class FilePlaybackDocument : public IPlaybackDocument {
public:
    // Reads the image; Ok() tells whether it parsed. With `onePort` every
    // track plays on port 0.
    FilePlaybackDocument(const std::vector<uint8_t>& image, bool onePort);

    bool Ok() const { return m_parseResult == 0; }
    int ParseResult() const { return m_parseResult; }
    // The track records, for the hosts that let the user change them
    PlaybackTrack& TrackRecord(int row) { return m_tracks[size_t(row)]; }

    // IPlaybackDocument
    CMidiParserEx& Sequence() override { return m_sequence; }
    PlaybackTrack Track(int row) const override { return m_tracks[size_t(row)]; }
    bool LoopFlag() const override { return m_loop; }
    void SetLoopFlag(bool on) override { m_loop = on; }
    bool RecordFlag() const override { return m_record; }
    void SetRecordFlag(bool on) override { m_record = on; }
    uint16_t ThruMask() const override { return 0xFFFF; }
    void SetModified() override { m_modified = true; }
    bool RecordUndo(PlaybackUndoTarget, const CMidiEvent&, PlaybackUndoOperation, bool, int32_t, int32_t) override
    {
        return true;
    }
    void ClearUndo() override {}
    void RefreshTrackCounts() override {}
    void ApplyMixChanges(std::span<const MixChange>) override {}

    bool Modified() const { return m_modified; }

private:
    CMidiParserEx m_sequence;
    int m_parseResult = 0;
    std::array<PlaybackTrack, 64> m_tracks{};
    bool m_loop = false;
    bool m_record = false;
    bool m_modified = false;
};

} // namespace zib
