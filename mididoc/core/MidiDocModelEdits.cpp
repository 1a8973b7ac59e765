// The editing commands of the MIDI document: whole tracks, the From-Thru
// stretch, the time division and the track setters.
#include "mididoc/core/MidiDocModel.h"

#include "ui/core/ZibSettings.h"
#include "midi/MidiEventKind.h"
#include "midi/MidiVarLen.h"
#include "mididoc/core/EventClipboardBlock.h"
#include "mididoc/core/EventClipboardSupplement.h"
#include "mididoc/core/EventPasteEngine.h"
#include "mididoc/core/EventSnapshot.h"
#include "mididoc/core/MarkedEventShift.h"
#include "mididoc/core/MidiDocAllocator.h"
#include "mididoc/core/MidiDocMessages.h"
#include "mididoc/core/PairIndex.h"
#include "mididoc/core/SequenceEdits.h"
#include "mididoc/core/TrackPropertiesDlgModel.h"
#include "platform/Cp1252.h"

#include <algorithm>
#include <limits>
#include <unordered_map>
#include <unordered_set>

namespace zib {

namespace {

constexpr uint16_t kMarkDelete = 44;
constexpr uint16_t kMarkShift = 55;
constexpr uint8_t kFirstOfKind = CMidiEvent::kInitialValue | CMidiEvent::kTrackName | CMidiEvent::kFirstPort;
constexpr size_t kChannelBuffer = 6;
constexpr const char* kTransposeCaption = "TransposeSelectedTracksFromThru";

std::vector<int> validRows(const std::vector<int>& rows)
{
    std::vector<int> out;
    for (int r : rows)
        if (r >= 0 && r < MidiDocModel::kTrackRecordCount) out.push_back(r);
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

std::array<uint8_t, 65> trackFlags(const std::vector<int>& rows)
{
    std::array<uint8_t, 65> selected{};
    for (int r : rows)
        selected[size_t(r + 1)] = 1;
    return selected;
}

} // namespace

// ---- Whole tracks ----------------------------------------------------------

EditResult MidiDocModel::OnEditDeleteTrack(const std::vector<int>& selectedRows)
{
    if (Playing()) return EditResult::RefusedWhilePlaying;
    if (m_tracks.empty()) return EditResult::Nothing;
    m_hooks.Views().CloseEditors();
    const std::vector<int> rows = validRows(selectedRows);
    if (rows.empty()) return EditResult::Nothing;
    WaitCursor wait(m_hooks.Reports());
    m_hooks.Views().Freeze();
    uint32_t groupStart = 1;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        const int row = *it;
        const int track = row + 1;
        bool any = false;
        for (const auto& ep : m_sequence.GetEvents()) {
            ep->state = ep->track == track ? kMarkDelete : 0;
            any = any || ep->track == track;
        }
        if (any) {
            // The track's tables as they are, for Undo to end with: putting
            // the events back sets first values and present flags again,
            // which need not be what the tables said.
            m_undo.RecordTrackAction(m_tracks[size_t(row)], *m_sequence.GetTrack(track), UndoModify, groupStart, row,
                                     row);
            groupStart = 0;
            for (size_t i = m_sequence.GetEventCount(); i-- > 0;) {
                const CMidiEvent& e = *m_sequence.GetEvent(i);
                if (e.state != kMarkDelete) continue;
                m_undo.RecordAction(UndoTargetEvent, e, UndoDelete, groupStart, int32_t(i), int32_t(i));
                groupStart = 0;
            }
            m_sequence.RemoveMarkedEvents(kMarkDelete);
            RefreshTrackCounts(track);
        }
        m_undo.RecordTrackAction(m_tracks[size_t(row)], *m_sequence.GetTrack(track), UndoDelete, groupStart, row,
                                 row);
        groupStart = 0;
        RemoveTrackSlot(row);
        m_sequence.Renumber(0);
        // Only a track the file holds leaves the file's count (the rows go
        // from the highest down, so the count always names the tracks left).
        if (m_format == 1 && track < m_fileTrackCount) --m_fileTrackCount;
    }
    m_hooks.Views().TrackRowsChanged();
    m_hooks.Views().Thaw();
    m_hooks.Views().Redraw();
    m_modified = true;
    return EditResult::Done;
}

EditResult MidiDocModel::InsertMidiTrack(int row)
{
    if (Playing()) return EditResult::RefusedWhilePlaying;
    m_hooks.Views().CloseEditors();
    if (row < 0 || row >= TrackRecordCount()) return EditResult::Nothing;
    WaitCursor wait(m_hooks.Reports());
    // Track 64 has no track to move up to.
    if (TrackHasEvents(CMidiParserEx::kMaxTracks - 1)) {
        Report(kMsgLimitReached, "InsertMidiTrack");
        return EditResult::Failed;
    }
    if (!MidiDocAllocator::Object(sizeof(CTrackInfo))) {
        Report(kMsgCannotCreateTrack, "InsertMidiTrack");
        return EditResult::Failed;
    }
    const CTrackInfo record;
    m_hooks.Views().Freeze();
    if (!InsertTrackSlot(row, record, {})) {
        m_hooks.Views().Thaw();
        Report(kMsgCannotCreateTrack, "InsertMidiTrack");
        return EditResult::Failed;
    }
    // The record carries the count before the insertion, which Undo gives back.
    m_undo.RecordTrackAction(m_tracks[size_t(row)], *m_sequence.GetTrack(row + 1), UndoInsert, 1, row, row);
    if (m_format == 1) ++m_fileTrackCount;
    m_hooks.Views().TrackRowsChanged();
    m_hooks.Views().Thaw();
    m_hooks.Views().Redraw();
    m_modified = true;
    return EditResult::Done;
}

// ---- From-Thru -------------------------------------------------------------

// The selected rows of a transpose or shift; none (after the message) when
// From is not before Thru or no row is selected
std::vector<int> MidiDocModel::FromThruRows(const std::vector<int>& selectedRows, uint32_t from, uint32_t thru)
{
    if (from >= thru) {
        Report(kMsgFromThruEqual, kTransposeCaption);
        return {};
    }
    std::vector<int> rows = validRows(selectedRows);
    if (rows.empty()) Report(kMsgNoSelectedItem, kTransposeCaption);
    return rows;
}

// Marks the events of the selected tracks from From to Thru that are not the
// first of their kind, with the note-offs of their notes (also past Thru).
void MidiDocModel::MarkFromThru(const std::vector<int>& rows, uint32_t from, uint32_t thru, uint16_t mark)
{
    const auto selected = trackFlags(rows);
    m_sequence.Renumber(0);
    const PairIndex pairs(m_sequence);
    const size_t n = m_sequence.GetEventCount();
    for (size_t i = 0; i < n; ++i) {
        m_sequence.PrefetchAhead(i);
        CMidiEvent& e = *m_sequence.GetEvent(i);
        if (e.track == 0 || e.track > 64 || !selected[e.track] || (e.flags & kFirstOfKind) || e.time < from) continue;
        if (e.time > thru) break;
        e.state = mark;
        if (isNoteOn(e) && e.paired) {
            const int64_t partner = pairs.LaterPartner(i);
            if (partner >= 0) m_sequence.GetEvent(size_t(partner))->state = mark;
        }
    }
}

std::vector<int32_t> MidiDocModel::NoteOffsMarkedAlone(uint16_t mark) const
{
    // The marked note-ons' pair ids: one bit per id (ids are numbered from 0
    // as notes are read and made), a set for any id far beyond the events
    const size_t bitIds = 4 * m_sequence.GetEventCount() + 1024;
    std::vector<bool> markedNotes;
    std::unordered_set<int32_t> farNotes;
    for (const auto& ep : m_sequence.GetEvents()) {
        if (ep->state != mark || ep->pairId < 0 || !isNoteOn(*ep)) continue;
        const size_t id = size_t(ep->pairId);
        if (id >= bitIds) {
            farNotes.insert(ep->pairId);
            continue;
        }
        if (id >= markedNotes.size()) markedNotes.resize(std::min(bitIds, 2 * id + 64));
        markedNotes[id] = true;
    }
    auto marked = [&](int32_t pairId) {
        const size_t id = size_t(pairId);
        return id < markedNotes.size() ? bool(markedNotes[id]) : id >= bitIds && farNotes.count(pairId) > 0;
    };
    std::vector<int32_t> alone;
    for (const auto& ep : m_sequence.GetEvents())
        if (ep->state == mark && ep->pairId >= 0 && isNoteOff(*ep) && !marked(ep->pairId))
            alone.push_back(ep->pairId);
    return alone;
}

uint32_t MidiDocModel::OpenNoteEnd(const CMidiEvent& noteOn) const
{
    // Format 1: the end of the note's track as the writer ends it (where the
    // file had it, or at its last event); format 0: the last event of the file.
    uint32_t end = 0;
    if (m_format == 1) {
        if (const CMidiParserEx::Track* table = m_sequence.GetTrack(noteOn.track)) end = table->endTime;
        for (size_t i = m_sequence.GetEventCount(); i-- > 0;)
            if (m_sequence.GetEvent(i)->track == noteOn.track) {
                end = std::max(end, m_sequence.GetEvent(i)->time);
                break;
            }
    } else if (m_sequence.GetEventCount() > 0) {
        end = m_sequence.GetEvent(m_sequence.GetEventCount() - 1)->time;
    }
    return end > noteOn.time ? end - noteOn.time : 0;
}

void MidiDocModel::MendNotePairs(const std::vector<int32_t>& pairIds, bool record)
{
    if (pairIds.empty()) return;
    std::unordered_map<int32_t, std::pair<int64_t, int64_t>> where; // pair id -> (note-on, note-off)
    for (int32_t id : pairIds)
        where.emplace(id, std::pair<int64_t, int64_t>(-1, -1));
    for (size_t i = 0; i < m_sequence.GetEventCount(); ++i) {
        const CMidiEvent& e = *m_sequence.GetEvent(i);
        const auto it = e.pairId >= 0 ? where.find(e.pairId) : where.end();
        if (it == where.end()) continue;
        (isNoteOn(e) ? it->second.first : it->second.second) = int64_t(i);
    }
    for (int32_t id : pairIds) {
        const auto [on, off] = where[id];
        if (on < 0) continue;
        CMidiEvent& note = *m_sequence.GetEvent(size_t(on));
        const bool keepsPair = off >= 0 && m_sequence.GetEvent(size_t(off))->time >= note.time;
        if (record) m_undo.RecordAction(UndoTargetEvent, note, UndoModify, 0, int32_t(on), int32_t(on));
        if (keepsPair) {
            note.duration = m_sequence.GetEvent(size_t(off))->time - note.time;
            continue;
        }
        note.paired = 0;
        note.pairId = -1;
        note.duration = OpenNoteEnd(note);
        if (off < 0) continue;
        // The note-off before its note stands alone: it goes out and comes
        // back unpaired, so that its track counts it as a listed event.
        EventSnapshot alone;
        if (!EventSnapshot::Take(*m_sequence.GetEvent(size_t(off)), alone)) continue;
        alone.paired = 0;
        alone.pairId = -1;
        std::unique_ptr<CMidiEvent> lone = alone.MakeEvent();
        if (!lone) continue;
        if (record)
            m_undo.RecordAction(UndoTargetEvent, *m_sequence.GetEvent(size_t(off)), UndoDelete, 0, int32_t(off),
                                int32_t(off));
        m_sequence.RemoveEvent(size_t(off));
        m_sequence.InsertEvent(size_t(off), std::move(lone));
        if (record)
            m_undo.RecordAction(UndoTargetEvent, *m_sequence.GetEvent(size_t(off)), UndoInsert, 0, int32_t(off), -1);
    }
    m_sequence.Renumber(0);
}

EditResult MidiDocModel::DeleteFromThru(const std::vector<int>& selectedRows, uint32_t from, uint32_t thru)
{
    size_t removed = 0;
    return DeleteFromThru(selectedRows, from, thru, removed);
}

EditResult MidiDocModel::DeleteFromThru(const std::vector<int>& selectedRows, uint32_t from, uint32_t thru,
                                        size_t& removed)
{
    removed = 0;
    if (Playing()) return EditResult::RefusedWhilePlaying;
    const std::vector<int> rows = validRows(selectedRows);
    if (from == thru || rows.empty() || m_tracks.empty()) return EditResult::Nothing;
    m_hooks.Views().CloseEditors();
    WaitCursor wait(m_hooks.Reports());
    MarkFromThru(rows, from, thru, kMarkDelete);
    const std::vector<int32_t> widowed = NoteOffsMarkedAlone(kMarkDelete);
    uint32_t groupStart = 1;
    std::array<uint8_t, 65> touched{};
    for (size_t i = m_sequence.GetEventCount(); i-- > 0;) {
        const CMidiEvent& e = *m_sequence.GetEvent(i);
        if (e.state != kMarkDelete) continue;
        if (groupStart) m_hooks.Views().Freeze();
        m_undo.RecordAction(UndoTargetEvent, e, UndoDelete, groupStart, int32_t(i), int32_t(i));
        groupStart = 0;
        touched[std::min<size_t>(e.track, 64)] = 1;
    }
    if (groupStart) return EditResult::Nothing;
    removed = m_sequence.RemoveMarkedEvents(kMarkDelete);
    m_sequence.Renumber(0);
    MendNotePairs(widowed, true);
    for (int t = 1; t <= 64; ++t)
        if (touched[size_t(t)]) RefreshTrackCounts(t);
    m_hooks.Views().Thaw();
    m_hooks.Views().Redraw();
    m_modified = true;
    return EditResult::Done;
}

EditResult MidiDocModel::CopyToClipboardFromThru(uint32_t from, uint32_t thru)
{
    EventClipboard& clipboard = m_hooks.Clipboard();
    if (!clipboard.HasPrivateFormat() || m_midiFlag != 1 || m_tracks.empty()) return EditResult::Unavailable;
    if (std::none_of(m_RowSelected.begin(), m_RowSelected.end(), [](uint8_t f) { return f != 0; }))
        return EditResult::Nothing;
    const auto kinds = m_hooks.Dialogs().CopyMidiEvents(CopyEventKinds{});
    if (!kinds) return EditResult::Cancelled;
    WaitCursor wait(m_hooks.Reports());

    EventClipboardBlock block;
    std::vector<const CMidiEvent*> copied; // the event of each record
    int firstTrack = -1;
    bool oneTrack = true;
    for (const auto& ep : m_sequence.GetEvents()) {
        const CMidiEvent& e = *ep;
        if (e.time > thru) break;
        if (e.time < from) continue;
        if (e.track != 0 && (e.track > 64 || !m_RowSelected[e.track - 1u])) continue;
        const int type = MetaType(e);
        const bool master = e.track == 0;
        if (!kinds->markers && master && (type == 1 || type == 5 || type == 6)) continue;
        if (kinds->markers && master && type == 3) continue;
        if (!kinds->tempo && type == 0x51) continue;
        if (!kinds->tact && type == 0x58) continue;
        if (!kinds->trackEvents && type != 1 && type != 5 && type != 6 && type != 0x51 && type != 0x58) continue;
        // The note carries its note-off.
        if (isChannelStatus(e.status) && isNoteOff(e) && e.paired) continue;
        ClipboardEventRecord r;
        r.time = e.time - from;
        r.status = e.status;
        r.data.assign(e.data.begin(), e.data.begin() + std::ptrdiff_t(std::min<size_t>(e.length, e.data.size())));
        r.paired = e.paired;
        r.duration = e.duration;
        r.track = e.track;
        r.flags = e.flags;
        copied.push_back(&e);
        if (firstTrack < 0) firstTrack = e.track;
        oneTrack = oneTrack && firstTrack == e.track;
        if (type == 0x51) {
            block.tempo = true;
        } else if (type == 0x58) {
            block.tact = true;
        } else if (master && (type == 1 || type == 5 || type == 6)) {
            block.markers = true;
        } else {
            block.trackEvents = true;
        }
        block.records.push_back(std::move(r));
    }
    if (block.records.empty()) return EditResult::Nothing;
    block.oneTrack = oneTrack;
    for (int row = 0; row < TrackRecordCount(); ++row) {
        if (!m_RowSelected[size_t(row)]) continue;
        const CTrackInfo& t = m_tracks[size_t(row)];
        block.headers.push_back({t.name, t.index, t.port, t.channel, t.bank, t.program, t.volume, t.pan});
    }
    std::vector<uint8_t> bytes;
    if (!MidiDocAllocator::Resize(bytes, block.EncodedSize())) {
        Report(kMsgNoMemory, "CopyToClipboardFromThru");
        return EditResult::Failed;
    }
    bytes = block.Encode();
    std::vector<uint8_t> supplement =
        EventClipboardSupplement::Of(m_sequence, copied).Encode(bytes.size(), block.records.size());
    if (clipboard.PutWithSupplement(std::move(bytes), std::move(supplement)) != EventClipboard::Result::Ok) {
        Report(kMsgCannotAttach, "");
        return EditResult::Failed;
    }
    return EditResult::Done;
}

EditResult MidiDocModel::OnEditPaste(uint32_t startTick)
{
    if (Playing()) return EditResult::RefusedWhilePlaying;
    if (m_midiFlag != 1 || m_tracks.empty()) return EditResult::Unavailable;
    std::vector<uint8_t> bytes, supplementBytes;
    switch (m_hooks.Clipboard().GetWithSupplement(bytes, supplementBytes)) {
    case EventClipboard::Result::Ok:
        break;
    case EventClipboard::Result::CannotAttach:
        Report(kMsgCannotAttach, "");
        return EditResult::Failed;
    case EventClipboard::Result::CannotGetData:
        Report(kMsgCannotGetData, "");
        return EditResult::Failed;
    case EventClipboard::Result::NoBlock:
        return EditResult::Nothing;
    }
    EventClipboardBlock block;
    switch (EventClipboardBlock::Decode(bytes, block)) {
    case EventClipboardBlock::Decoded::Ok:
        break;
    case EventClipboardBlock::Decoded::NotEventBlock:
        return EditResult::Nothing;
    case EventClipboardBlock::Decoded::Malformed:
        Report(kMsgCannotPaste, "OnEditPaste");
        return EditResult::Failed;
    }
    PasteDlgValues values;
    values.mode = 1;
    values.startTick = startTick;
    values.startTrack = 1;
    for (int row = 0; row < kTrackRecordCount; ++row)
        if (m_RowSelected[size_t(row)]) {
            values.startTrack = row + 1;
            break;
        }
    values.oneTrack = block.oneTrack;
    values.trackEvents = block.trackEvents;
    values.markers = block.markers;
    values.tempo = block.tempo;
    values.tact = block.tact;
    const auto choice = m_hooks.Dialogs().PasteEvents(m_sequence, values);
    if (!choice) return EditResult::Cancelled;
    WaitCursor wait(m_hooks.Reports());
    m_hooks.Views().Freeze();
    EventPasteEngine engine(EventPasteEngine::Mode::Document, m_sequence, m_undo, this);
    const EditResult result = engine.Paste(
        block, EventClipboardSupplement::Decode(supplementBytes, bytes.size(), block.records.size()),
        *choice);
    m_hooks.Views().Thaw();
    if (result == EditResult::Failed) {
        Report(kMsgCannotPaste, "OnEditPaste");
        m_hooks.Views().Refill();
        return result;
    }
    if (result == EditResult::Done) {
        m_modified = true;
        m_hooks.Views().Redraw();
        m_hooks.Views().RebuildBarList();
        m_hooks.Views().Refill();
    }
    return result;
}

EditResult MidiDocModel::TransposeSelectedTracksFromThru(const std::vector<int>& selectedRows, uint32_t from,
                                                         uint32_t thru)
{
    if (Playing()) return EditResult::RefusedWhilePlaying;
    const std::vector<int> rows = FromThruRows(selectedRows, from, thru);
    if (rows.empty()) return EditResult::Nothing;
    const auto amount = m_hooks.Dialogs().TransposeAmount();
    if (!amount) return EditResult::Cancelled;
    if (*amount == 0) return EditResult::Nothing;
    WaitCursor wait(m_hooks.Reports());
    m_hooks.Views().Freeze();
    const auto selected = trackFlags(rows);
    m_sequence.Renumber(0);
    const PairIndex pairs(m_sequence);
    uint32_t groupStart = 1;
    for (size_t i = 0; i < m_sequence.GetEventCount(); ++i) {
        CMidiEvent& e = *m_sequence.GetEvent(i);
        if (e.track == 0 || e.track > 64 || !selected[e.track] || e.time < from) continue;
        if (e.time > thru) break;
        const uint8_t group = e.status & 0xF0;
        if (group != 0x80 && group != 0x90 && group != 0xA0) continue;
        if (group != 0xA0 && isNoteOff(e) && e.paired) continue; // its note-on moves it
        const uint8_t key = uint8_t(eventDataByte(e, 0) + *amount);
        if (key > 127 || key == eventDataByte(e, 0)) continue;
        m_sequence.SetTrackModified(e.track, 1);
        m_undo.RecordAction(UndoTargetEvent, e, UndoModify, groupStart, int32_t(i), int32_t(i));
        groupStart = 0;
        e.data[0] = key;
        if (isNoteOn(e) && e.paired) {
            const int64_t partner = pairs.LaterPartner(i);
            if (partner >= 0) {
                CMidiEvent& off = *m_sequence.GetEvent(size_t(partner));
                m_undo.RecordAction(UndoTargetEvent, off, UndoModify, 0, int32_t(partner), int32_t(partner));
                off.data[0] = key;
            }
        }
    }
    m_hooks.Views().Thaw();
    m_hooks.Views().Redraw();
    m_hooks.Views().Refill();
    if (groupStart) return EditResult::Nothing;
    m_modified = true;
    return EditResult::Done;
}

EditResult MidiDocModel::OnUtilTranspose()
{
    if (Playing()) return EditResult::RefusedWhilePlaying;
    if (m_tracks.empty()) return EditResult::Unavailable;
    const auto amount = m_hooks.Dialogs().TransposeAmount();
    if (!amount) return EditResult::Cancelled;
    if (*amount == 0) return EditResult::Nothing;
    WaitCursor wait(m_hooks.Reports());
    m_hooks.Views().Freeze();
    const uint32_t leftAlone = uint32_t(m_settings.TransposeChannelSettings);
    uint32_t groupStart = 1;
    for (size_t i = 0; i < m_sequence.GetEventCount(); ++i) {
        CMidiEvent& e = *m_sequence.GetEvent(i);
        const uint8_t group = e.status & 0xF0;
        if (group != 0x80 && group != 0x90 && group != 0xA0) continue;
        if (leftAlone & (1u << (e.status & 0x0F))) continue;
        const uint8_t key = uint8_t(eventDataByte(e, 0) + *amount);
        if (key > 127 || key == eventDataByte(e, 0)) continue;
        m_sequence.SetTrackModified(e.track, 1);
        m_undo.RecordAction(UndoTargetEvent, e, UndoModify, groupStart, int32_t(i), int32_t(i));
        groupStart = 0;
        e.data[0] = key;
    }
    m_hooks.Views().Thaw();
    m_hooks.Views().Redraw();
    m_hooks.Views().Refill();
    m_modified = m_modified || groupStart == 0;
    Report(kMsgActionFinished, "OnUtilTranspose", DocMessage::Icon::Information);
    return groupStart ? EditResult::Nothing : EditResult::Done;
}

EditResult MidiDocModel::ShiftSelectedTracksFromThru(const std::vector<int>& selectedRows, uint32_t from,
                                                     uint32_t thru)
{
    if (Playing()) return EditResult::RefusedWhilePlaying;
    const std::vector<int> rows = FromThruRows(selectedRows, from, thru);
    if (rows.empty()) return EditResult::Nothing;
    const auto to = m_hooks.Dialogs().ShiftTo(m_sequence, from, from);
    if (!to) return EditResult::Cancelled;
    const int64_t amount = int64_t(*to) - int64_t(from);
    if (amount == 0) return EditResult::Nothing;
    WaitCursor wait(m_hooks.Reports());
    MarkFromThru(rows, from, thru, kMarkShift); // clears the other marks
    const std::vector<int32_t> movedAlone = NoteOffsMarkedAlone(kMarkShift);
    m_hooks.Views().Freeze();
    const size_t records = m_undo.UndoCount();
    const bool moved = ShiftMarkedEvents(m_sequence, m_undo, kMarkShift, amount);
    if (moved) {
        MendNotePairs(movedAlone, m_undo.UndoCount() > records);
        for (int t = 1; t <= 64; ++t)
            RefreshTrackCounts(t);
    }
    m_hooks.Views().Thaw();
    if (!moved) return EditResult::Nothing;
    m_hooks.Views().Redraw();
    m_hooks.Views().Refill();
    m_modified = true;
    return EditResult::Done;
}

std::optional<FromThruTicks> MidiDocModel::SetFromThru(uint32_t from, uint32_t thru)
{
    if (Playing()) return std::nullopt;
    return m_hooks.Dialogs().FromThru(m_sequence, FromThruTicks{from, thru});
}

EditResult MidiDocModel::ChangeDivision()
{
    if (Playing()) return EditResult::RefusedWhilePlaying;
    if (m_tracks.empty()) return EditResult::Unavailable;
    const auto division = m_hooks.Dialogs().MidiClock(m_division);
    if (!division) return EditResult::Cancelled;
    if (*division == m_division || *division == 0) return EditResult::Nothing;
    if (m_sequence.ChangeDivision(m_division, *division) != 0) return EditResult::Failed;
    m_division = *division;
    // The recorded ticks are in the old division.
    m_undo.ClearAll();
    m_hooks.Views().RebuildBarList();
    m_hooks.Views().Redraw();
    m_hooks.Views().Refill();
    m_modified = true;
    return EditResult::Done;
}

EditResult MidiDocModel::GoToPosition(uint32_t tick)
{
    if (Playing()) return EditResult::RefusedWhilePlaying;
    const auto chosen = m_hooks.Dialogs().GoTo(m_sequence, tick);
    if (!chosen) return EditResult::Cancelled;
    m_hooks.Views().GoToPosition(*chosen);
    return EditResult::Done;
}

EditResult MidiDocModel::TrackRecordInput(int focusedRow)
{
    if (Playing()) return EditResult::RefusedWhilePlaying;
    if (m_tracks.empty()) return EditResult::Unavailable;
    std::array<uint32_t, 64> codes{};
    for (size_t i = 0; i < codes.size(); ++i)
        codes[i] = m_tracks[i].recordChannel;
    const auto chosen =
        m_hooks.Dialogs().RecordInput(codes, focusedRow >= 0 && focusedRow < kTrackRecordCount ? focusedRow : 64);
    if (!chosen) return EditResult::Cancelled;
    for (size_t i = 0; i < codes.size(); ++i)
        m_tracks[i].recordChannel = (*chosen)[i];
    m_hooks.Views().Redraw();
    return EditResult::Done;
}

EditResult MidiDocModel::MidiRecordSettings()
{
    if (Playing()) return EditResult::RefusedWhilePlaying;
    const auto chosen = m_hooks.Dialogs().RecordSettings(m_RecordEchoChannels);
    if (!chosen) return EditResult::Cancelled;
    m_RecordEchoChannels = *chosen;
    return EditResult::Done;
}

// ---- Track properties ------------------------------------------------------

EditResult MidiDocModel::OnEditMidiTrackProperties(int focusedRow, int column)
{
    if (Playing()) return EditResult::RefusedWhilePlaying;
    if (!TrackRecord(focusedRow)) {
        Report(kMsgNoFocusedItem, "OnEditMidiTrackProperties");
        return EditResult::Nothing;
    }
    return EditMidiTrackProperties(focusedRow, column);
}

EditResult MidiDocModel::EditMidiTrackProperties(int row, int column)
{
    if (Playing()) return EditResult::RefusedWhilePlaying;
    CTrackInfo* record = TrackRecord(row);
    if (!record) return EditResult::Nothing;
    TrackPropertiesValues values;
    values.track = row + 1;
    values.column = column;
    values.name = cp1252ToUtf8(record->name);
    values.input = record->recordChannel;
    values.channel = record->channel;
    values.port = record->port;
    values.bank = record->bank;
    values.program = record->program;
    values.volume = record->volume;
    values.pan = record->pan;
    const int track = row + 1;
    const bool channelEvents = record->channel < 16 || m_sequence.GetTrack(track)->channelSeen;
    values.channelEvents = channelEvents;
    const auto chosen = m_hooks.Dialogs().TrackProperties(values);
    if (!chosen) return EditResult::Cancelled;
    if (!chosen->changed) return EditResult::Nothing;
    // A track without channel events stores its first values only as events
    // of the channel chosen for it: without one they would be lost, so
    // nothing changes and the user is asked for a channel.
    if (!channelEvents && chosen->channel >= 16 &&
        (chosen->bank != record->bank || chosen->program != record->program || chosen->volume != record->volume ||
         chosen->pan != record->pan)) {
        DocMessage m;
        m.uiText = TrackPropertiesDlgModel::kNeedsChannelText;
        m.caption = "EditMidiTrackProperties";
        m_hooks.Reports().Report(m);
        return EditResult::Failed;
    }

    // The setters work on the track's events of the channel it has now; a
    // new channel is the last change. A track without channel events (a new
    // one) has its first values written as events of the channel chosen for it.
    const uint8_t channel = channelEvents ? record->channel : chosen->channel;
    const bool hadEvents = record->totalEvents > 0;
    std::string name = utf8ToCp1252(chosen->name);
    if (name.size() > 256) name.resize(256);
    // The record goes first into the group, so that Undo gives the track
    // back the values it shows.
    uint32_t groupStart = 1;
    if (m_undo.RecordTrackAction(*record, *m_sequence.GetTrack(track), UndoModify, 1, row, row) >= 0) groupStart = 0;
    bool ok = true;
    if (ok && name != record->name) ok = SetTrackName(name, track, groupStart) != 0;
    if (ok && chosen->port != record->port) ok = SetTrackPort(uint8_t(chosen->port), track, groupStart) != 0;
    if (ok && chosen->bank != record->bank) ok = SetTrackBank(chosen->bank, track, channel, groupStart) != 0;
    if (ok && chosen->program != record->program)
        ok = SetTrackProgram(chosen->program, track, channel, groupStart) != 0;
    if (ok && chosen->volume != record->volume) ok = SetTrackVolume(chosen->volume, track, channel, groupStart) != 0;
    if (ok && chosen->pan != record->pan) ok = SetTrackPan(chosen->pan, track, channel, groupStart) != 0;
    if (!ok) {
        // What the command changed is taken back; the document stays open.
        m_undo.RollBackOpenGroup();
        m_sequence.Renumber(0);
        RefreshTrackCounts(track);
        Report(kMsgCannotChangeTrackProperties, "EditMidiTrackProperties", DocMessage::Icon::Stop);
        return EditResult::Failed;
    }
    record = TrackRecord(row);
    record->name = name.substr(0, kTrackNameLength);
    record->port = uint8_t(chosen->port);
    record->bank = chosen->bank;
    record->program = chosen->program;
    record->volume = chosen->volume;
    record->pan = chosen->pan;
    record->recordChannel = chosen->input;
    if (chosen->channel != record->channel) {
        record->channel = chosen->channel;
        m_sequence.GetTrack(track)->channel = chosen->channel;
        m_sequence.GetTrack(track)->channelSeen = chosen->channel < 16 ? 1 : 0;
    }
    m_sequence.Renumber(0);
    RefreshTrackCounts(track);
    if (!hadEvents && record->totalEvents > 0) {
        // The prepared track is in use and sounds.
        record->hasEvents = 1;
        record->play = 1;
    }
    m_hooks.Views().Redraw();
    m_hooks.Views().Refill();
    m_modified = true;
    return EditResult::Done;
}

EditResult MidiDocModel::RenameTrack(int row, const std::string& nameUtf8)
{
    if (Playing()) return EditResult::RefusedWhilePlaying;
    CTrackInfo* record = TrackRecord(row);
    if (!record) return EditResult::Nothing;
    std::string name = utf8ToCp1252(nameUtf8);
    if (name.size() > 256) name.resize(256);
    if (name == record->name) return EditResult::Nothing;
    const int track = row + 1;
    // The record goes first into the group, so that Undo gives the row its name back.
    uint32_t groupStart = 1;
    const bool recorded = m_undo.RecordTrackAction(*record, *m_sequence.GetTrack(track), UndoModify, 1, row, row) >= 0;
    if (recorded) groupStart = 0;
    if (!recorded || SetTrackName(name, track, groupStart) == 0) {
        if (recorded) m_undo.RollBackOpenGroup();
        m_sequence.Renumber(0);
        RefreshTrackCounts(track);
        Report(kMsgCannotChangeTrackProperties, "RenameTrack", DocMessage::Icon::Stop);
        return EditResult::Failed;
    }
    TrackRecord(row)->name = name.substr(0, kTrackNameLength);
    m_sequence.Renumber(0);
    RefreshTrackCounts(track);
    m_hooks.Views().Redraw();
    m_modified = true;
    return EditResult::Done;
}

// ---- Track setters ---------------------------------------------------------

int64_t MidiDocModel::FindFirstOfKind(int track, uint8_t group, int controller, uint8_t channel) const
{
    for (size_t i = 0; i < m_sequence.GetEventCount(); ++i) {
        const CMidiEvent& e = *m_sequence.GetEvent(i);
        if (e.track != track || !(e.flags & CMidiEvent::kInitialValue) || (e.status & 0xF0) != group) continue;
        if (controller >= 0 && eventDataByte(e, 0) != controller) continue;
        if (channel < 16 && (e.status & 0x0F) != channel) continue;
        return int64_t(i);
    }
    return -1;
}

size_t MidiDocModel::InitialValuePlace() const
{
    for (size_t i = 0; i < m_sequence.GetEventCount(); ++i) {
        const CMidiEvent& e = *m_sequence.GetEvent(i);
        const uint8_t group = e.status & 0xF0;
        if (e.time != 0 || (isChannelStatus(e.status) && (group == 0x80 || group == 0x90))) return i;
    }
    return m_sequence.GetEventCount();
}

bool MidiDocModel::InsertInitialEvent(std::unique_ptr<CMidiEvent> e, uint32_t& groupStart)
{
    const int track = e->track;
    const size_t at = InitialValuePlace();
    m_sequence.InsertEvent(at, std::move(e));
    m_sequence.Renumber(0);
    m_undo.RecordAction(UndoTargetEvent, *m_sequence.GetEvent(at), UndoInsert, groupStart, int32_t(at), -1);
    groupStart = 0;
    RefreshTrackCounts(track);
    return true;
}

uint32_t MidiDocModel::SetTrackController(uint8_t controller, uint8_t value, int track, uint8_t channel,
                                          uint32_t& groupStart)
{
    CMidiParserEx::Track* table = m_sequence.GetTrack(track);
    if (track < 1 || track > 64 || !table) return 0;
    const bool present = controller == 7 ? table->volumeSeen : controller == 10 ? table->panSeen
                         : controller == 0 ? table->bankMsbSeen : table->bankLsbSeen;
    const int64_t found = present ? FindFirstOfKind(track, 0xB0, controller, channel) : -1;
    if (found >= 0) {
        CMidiEvent& e = *m_sequence.GetEvent(size_t(found));
        m_undo.RecordAction(UndoTargetEvent, e, UndoModify, groupStart, int32_t(found), int32_t(found));
        groupStart = 0;
        e.data[0] = controller;
        e.data[1] = value;
        e.length = 2;
        switch (controller) {
        case 7:
            table->volume = value;
            break;
        case 10:
            table->pan = value;
            break;
        case 0:
            table->bankMsb = value;
            break;
        default:
            table->bankLsb = value;
            break;
        }
    } else if (channel < 16) {
        auto e = MidiDocAllocator::NewEvent();
        if (!e || !MidiDocAllocator::Resize(e->data, kChannelBuffer)) return 0;
        e->status = uint8_t(0xB0 | channel);
        e->data[0] = controller;
        e->data[1] = value;
        e->length = 2;
        e->paired = 1;
        e->flags = CMidiEvent::kInitialValue;
        e->track = uint8_t(track);
        InsertInitialEvent(std::move(e), groupStart);
    }
    m_sequence.SetTrackModified(track, 1);
    m_modified = true;
    return 1;
}

uint32_t MidiDocModel::SetTrackVolume(uint8_t value, int track, uint8_t channel, uint32_t& groupStart)
{
    return SetTrackController(7, value, track, channel, groupStart);
}

uint32_t MidiDocModel::SetTrackPan(uint8_t value, int track, uint8_t channel, uint32_t& groupStart)
{
    return SetTrackController(10, value, track, channel, groupStart);
}

uint32_t MidiDocModel::SetTrackMeta(uint8_t type, std::span<const uint8_t> data, uint8_t flag, int track,
                                    uint32_t& groupStart)
{
    CMidiParserEx::Track* table = m_sequence.GetTrack(track);
    if (track < 1 || track > 64 || !table) return 0;
    uint8_t lengthBytes[4];
    const int n = WriteMidiVarLen(uint32_t(data.size()), lengthBytes);
    const size_t rawLength = 2 + size_t(n) + data.size();
    std::vector<uint8_t> raw;
    if (!MidiDocAllocator::Resize(raw, rawLength)) return 0;
    raw[0] = 0xFF;
    raw[1] = type;
    std::copy(lengthBytes, lengthBytes + n, raw.begin() + 2);
    std::copy(data.begin(), data.end(), raw.begin() + 2 + n);
    int64_t found = -1;
    if (type == 0x03 ? table->nameSeen : table->portSeen)
        for (size_t i = 0; i < m_sequence.GetEventCount() && found < 0; ++i) {
            const CMidiEvent& e = *m_sequence.GetEvent(i);
            if (e.track == track && MetaType(e) == type && (e.flags & flag)) found = int64_t(i);
        }
    if (found >= 0) {
        CMidiEvent& e = *m_sequence.GetEvent(size_t(found));
        m_undo.RecordAction(UndoTargetEvent, e, UndoModify, groupStart, int32_t(found), int32_t(found));
        groupStart = 0;
        e.data.swap(raw);
        e.length = uint32_t(rawLength);
        if (type == 0x03) {
            table->name.assign(data.begin(), data.begin() + std::ptrdiff_t(std::min(data.size(), kTrackNameLength)));
        } else if (!data.empty()) {
            table->port = data[0];
        }
    } else if (type != 0x03 || !data.empty()) {
        auto e = MidiDocAllocator::NewEvent();
        if (!e) return 0;
        e->data.swap(raw);
        e->length = uint32_t(rawLength);
        e->status = 0xFF;
        e->paired = 1;
        e->flags = flag;
        e->track = uint8_t(track);
        InsertInitialEvent(std::move(e), groupStart);
    }
    m_sequence.SetTrackModified(track, 1);
    m_modified = true;
    return 1;
}

uint32_t MidiDocModel::SetTrackName(const std::string& name, int track, uint32_t& groupStart)
{
    const std::string_view cut = std::string_view(name).substr(0, 256);
    return SetTrackMeta(0x03, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(cut.data()), cut.size()),
                        CMidiEvent::kTrackName, track, groupStart);
}

uint32_t MidiDocModel::SetTrackPort(uint8_t port, int track, uint32_t& groupStart)
{
    const uint8_t data[1] = {port};
    return SetTrackMeta(0x21, data, CMidiEvent::kFirstPort, track, groupStart);
}

uint32_t MidiDocModel::SetTrackProgram(uint8_t program, int track, uint8_t channel, uint32_t& groupStart)
{
    CMidiParserEx::Track* table = m_sequence.GetTrack(track);
    if (track < 1 || track > 64 || !table) return 0;
    const int64_t found = table->programSeen ? FindFirstOfKind(track, 0xC0, -1, channel) : -1;
    if (program < 0xFF) {
        if (found >= 0) {
            CMidiEvent& e = *m_sequence.GetEvent(size_t(found));
            m_undo.RecordAction(UndoTargetEvent, e, UndoModify, groupStart, int32_t(found), int32_t(found));
            groupStart = 0;
            e.data[0] = program;
        } else if (channel < 16) {
            auto e = MidiDocAllocator::NewEvent();
            if (!e || !MidiDocAllocator::Resize(e->data, kChannelBuffer)) return 0;
            e->status = uint8_t(0xC0 | channel);
            e->data[0] = program;
            e->length = 1;
            e->paired = 1;
            e->flags = CMidiEvent::kInitialValue;
            e->track = uint8_t(track);
            InsertInitialEvent(std::move(e), groupStart);
        }
        table->program = program;
        table->programSeen = 1;
    } else if (found >= 0) {
        m_undo.RecordAction(UndoTargetEvent, *m_sequence.GetEvent(size_t(found)), UndoDelete, groupStart,
                            int32_t(found), -1);
        groupStart = 0;
        m_sequence.RemoveEvent(size_t(found));
        m_sequence.Renumber(0);
        RefreshTrackCounts(track);
        table->programSeen = 0;
    } else {
        table->programSeen = 0;
    }
    m_sequence.SetTrackModified(track, 1);
    m_modified = true;
    return 1;
}

uint32_t MidiDocModel::SetTrackBank(uint16_t bank, int track, uint8_t channel, uint32_t& groupStart)
{
    CMidiParserEx::Track* table = m_sequence.GetTrack(track);
    if (track < 1 || track > 64 || !table) return 0;
    const uint8_t msb = uint8_t(bank >> 8), lsb = uint8_t(bank & 0xFF);
    if (msb != 0xFF) {
        if (!SetTrackController(0, msb, track, channel, groupStart)) return 0;
        if (!SetTrackController(32, lsb, track, channel, groupStart)) return 0;
        table->bankMsb = msb;
        table->bankLsb = lsb;
        table->bankMsbSeen = table->bankLsbSeen = 1;
        return 1;
    }
    // A bank MSB of 255: the track has no bank
    for (int controller : {0, 32}) {
        const bool present = controller == 0 ? table->bankMsbSeen : table->bankLsbSeen;
        const int64_t found = present ? FindFirstOfKind(track, 0xB0, controller, channel) : -1;
        if (found < 0) continue;
        m_undo.RecordAction(UndoTargetEvent, *m_sequence.GetEvent(size_t(found)), UndoDelete, groupStart,
                            int32_t(found), -1);
        groupStart = 0;
        m_sequence.RemoveEvent(size_t(found));
        m_sequence.Renumber(0);
    }
    table->bankMsbSeen = table->bankLsbSeen = 0;
    RefreshTrackCounts(track);
    m_sequence.SetTrackModified(track, 1);
    m_modified = true;
    return 0xFF00;
}

} // namespace zib
