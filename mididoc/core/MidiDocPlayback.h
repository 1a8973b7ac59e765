#pragma once

#include "devices/core/IPlaybackDocument.h"

namespace zib {

class MidiDocModel;

// A MIDI document as the playback engine plays and records it: the
// document's sequence, its 64 track records, the loop and record switches,
// the channels echoed while recording, and its undo manager, in which a
// recorded take and the mix set while playing each become one group.
// The bar view makes one over its document and hands it to its engine.
class MidiDocPlayback : public IPlaybackDocument {
public:
    explicit MidiDocPlayback(MidiDocModel& document) : m_doc(document) {}

    CMidiParserEx& Sequence() override;
    PlaybackTrack Track(int row) const override;

    bool LoopFlag() const override;
    void SetLoopFlag(bool on) override;
    bool RecordFlag() const override;
    void SetRecordFlag(bool on) override;
    uint16_t ThruMask() const override;

    void SetModified() override;
    bool RecordUndo(PlaybackUndoTarget target, const CMidiEvent& event, PlaybackUndoOperation operation,
                    bool groupStart, int32_t index, int32_t secondIndex) override;
    void ClearUndo() override;
    void RefreshTrackCounts() override;
    void ApplyMixChanges(std::span<const MixChange> changes) override;

private:
    MidiDocModel& m_doc;
};

} // namespace zib
