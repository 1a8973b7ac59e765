#include "mididoc/core/MidiDocPlayback.h"

#include "mididoc/core/CUndoRecord.h"
#include "mididoc/core/MidiDocModel.h"

namespace zib {

CMidiParserEx& MidiDocPlayback::Sequence()
{
    return m_doc.Sequence();
}

PlaybackTrack MidiDocPlayback::Track(int row) const
{
    PlaybackTrack t;
    const CTrackInfo* r = m_doc.TrackRecord(row);
    if (!r) {
        t.channel = 255; // nothing to send for a row the document does not have
        return t;
    }
    t.play = r->play;
    t.solo = r->solo;
    t.record = r->record;
    t.channel = r->channel;
    t.port = r->port;
    t.bankMsb = r->BankMsb();
    t.bankLsb = r->BankLsb();
    t.program = r->program;
    t.volume = r->volume;
    t.pan = r->pan;
    t.recordChannel = r->recordChannel;
    return t;
}

bool MidiDocPlayback::LoopFlag() const
{
    return m_doc.m_LoopFlag != 0;
}

void MidiDocPlayback::SetLoopFlag(bool on)
{
    m_doc.m_LoopFlag = on ? 1 : 0;
}

bool MidiDocPlayback::RecordFlag() const
{
    return m_doc.m_RecordFlag != 0;
}

void MidiDocPlayback::SetRecordFlag(bool on)
{
    m_doc.m_RecordFlag = on ? 1 : 0;
}

uint16_t MidiDocPlayback::ThruMask() const
{
    return m_doc.m_RecordEchoChannels;
}

void MidiDocPlayback::SetModified()
{
    m_doc.SetModified(true);
}

bool MidiDocPlayback::RecordUndo(PlaybackUndoTarget target, const CMidiEvent& event, PlaybackUndoOperation operation,
                                 bool groupStart, int32_t index, int32_t secondIndex)
{
    return m_doc.UndoManager().RecordAction(int32_t(target), event, int32_t(operation), groupStart ? 1 : 0, index,
                                            secondIndex) >= 0;
}

void MidiDocPlayback::ClearUndo()
{
    m_doc.UndoManager().ClearAll();
}

void MidiDocPlayback::RefreshTrackCounts()
{
    for (int track = 1; track <= m_doc.TrackRecordCount(); ++track)
        m_doc.RefreshTrackCounts(track);
}

// Each changed track goes into the group as it was when the run started, so
// that Undo gives the record back its values; then the volume and pan are
// written into the track's first controller 7 and 10 events (made when the
// track has none).
void MidiDocPlayback::ApplyMixChanges(std::span<const MixChange> changes)
{
    CUndoManager& undo = m_doc.UndoManager();
    uint32_t groupStart = 1;
    bool changed = false;
    for (const MixChange& c : changes) {
        CTrackInfo* record = m_doc.TrackRecord(c.row);
        if (!record || (c.volume > 127 && c.pan > 127)) continue;
        CTrackInfo before = *record;
        CMidiParserEx::Track beforeTable = *m_doc.Sequence().GetTrack(c.row + 1);
        if (c.volume <= 127 && c.fromVolume <= 127) before.volume = beforeTable.volume = c.fromVolume;
        if (c.pan <= 127 && c.fromPan <= 127) before.pan = beforeTable.pan = c.fromPan;
        if (undo.RecordTrackAction(before, beforeTable, UndoModify, groupStart, c.row, c.row) >= 0) groupStart = 0;
        const int track = c.row + 1;
        const uint8_t channel = record->channel;
        if (c.volume <= 127 && m_doc.SetTrackVolume(c.volume, track, channel, groupStart)) record->volume = c.volume;
        record = m_doc.TrackRecord(c.row);
        if (c.pan <= 127 && m_doc.SetTrackPan(c.pan, track, channel, groupStart)) record->pan = c.pan;
        changed = true;
    }
    if (!changed) return;
    m_doc.Sequence().Renumber(0);
    RefreshTrackCounts();
    m_doc.SetModified(true);
}

} // namespace zib
