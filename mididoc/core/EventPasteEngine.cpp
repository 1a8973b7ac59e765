#include "mididoc/core/EventPasteEngine.h"

#include "midi/CMidiParserEx.h"
#include "midi/MidiEventKind.h"
#include "mididoc/core/CUndoManager.h"
#include "mididoc/core/EventClipboardBlock.h"
#include "mididoc/core/EventClipboardSupplement.h"
#include "mididoc/core/EventOrderTree.h"
#include "mididoc/core/MidiDocAllocator.h"
#include "mididoc/core/MidiDocModel.h"
#include "mididoc/core/RetimeStep.h"
#include "mididoc/core/SequenceEdits.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace zib {

namespace {

constexpr uint8_t kFirstOfKind = CMidiEvent::kInitialValue | CMidiEvent::kTrackName | CMidiEvent::kFirstPort;

int recordMetaType(const ClipboardEventRecord& r)
{
    return r.status == 0xFF && r.data.size() >= 2 ? r.data[1] : -1;
}

// The block's times in this song's ticks: scaled from the copied song's
// division to this one's and rounded to the nearest tick, so that a place on
// the beat grid stays on it. A note's end is scaled as a place of its own, so
// that a note ending on the grid still does; a note keeps at least one tick.
// Without both divisions (ticks per quarter) the times stay as they are.
class TickScale {
public:
    TickScale(uint16_t from, uint16_t to)
    {
        if (from && to && !((from | to) & 0x8000) && from != to) {
            m_from = from;
            m_to = to;
        }
    }
    uint64_t Time(uint64_t t) const { return (t * m_to + m_from / 2) / m_from; }
    uint64_t Duration(const ClipboardEventRecord& r) const
    {
        if (r.duration == 0) return 0;
        return std::max<uint64_t>(Time(uint64_t(r.time) + r.duration) - Time(r.time), 1);
    }
    // Whether every time from `start` on, and every note's end, stays within 32 bits
    bool Fits(const EventClipboardBlock& block, uint32_t start) const
    {
        constexpr uint64_t kLast = std::numeric_limits<uint32_t>::max();
        for (const auto& r : block.records)
            if (start + Time(r.time) + Duration(r) > kLast) return false;
        return true;
    }

private:
    uint64_t m_from = 1;
    uint64_t m_to = 1;
};

} // namespace

// Where the events go while the paste runs: in an order-statistics tree for
// the many plain inserts, in the sequence's array for the rare steps that
// need it (time signatures, track headers, the end).
class EventPasteEngine::Placement {
public:
    explicit Placement(CMidiParserEx& sequence) : m_sequence(sequence) {}
    ~Placement() { ToArray(); }

    void ToArray()
    {
        if (m_tree) {
            m_sequence.AdoptEvents(m_tree->release());
            m_tree.reset();
        }
    }
    EventOrderTree& Tree()
    {
        if (!m_tree) m_tree.emplace(m_sequence.ReleaseEvents());
        return *m_tree;
    }

private:
    CMidiParserEx& m_sequence;
    std::optional<EventOrderTree> m_tree;
};

EventPasteEngine::EventPasteEngine(Mode mode, CMidiParserEx& sequence, CUndoManager& undo, MidiDocModel* doc)
    : m_mode(mode), m_sequence(sequence), m_undo(undo), m_doc(mode == Mode::TrackList ? nullptr : doc)
{
}

// The channel of the first channel event that reaches a track whose channel
// is not known yet (the MIDI document: whose modified flag is still clear)
void EventPasteEngine::TakeChannel(int track, uint8_t channel)
{
    CMidiParserEx::Track* table = m_sequence.GetTrack(track);
    if (!table || track == 0) return;
    switch (m_mode) {
    case Mode::Document:
        if (table->modified) return;
        table->modified = 1;
        break;
    case Mode::WholeList:
        if (table->channelSeen) return;
        break;
    case Mode::TrackList:
        if (table->channelSeen && table->channel != channel) {
            table->channel = 0xFF;
            return;
        }
        if (table->channelSeen) return;
        break;
    }
    table->channel = channel;
    table->channelSeen = 1;
    if (m_doc)
        if (CTrackInfo* record = m_doc->TrackRecord(track - 1)) record->channel = channel;
}

void EventPasteEngine::RecordTrackOnce(int track, uint32_t& groupStart)
{
    if (!m_doc || track < 1 || track > 64 || m_trackRecorded[size_t(track)]) return;
    const CTrackInfo* record = m_doc->TrackRecord(track - 1);
    const CMidiParserEx::Track* table = m_sequence.GetTrack(track);
    if (!record || !table) return;
    m_trackRecorded[size_t(track)] = 1;
    m_undo.RecordTrackAction(*record, *table, UndoModify, groupStart, track - 1, track - 1);
    groupStart = 0;
}

bool EventPasteEngine::PlaceTimeSignature(Placement& place, std::unique_ptr<CMidiEvent> e, uint32_t& groupStart)
{
    place.ToArray();
    uint8_t numerator = 0, denominator = 0;
    const bool valid = TimeSignatureOf(*e, numerator, denominator);
    // The records carry the map's change and the signatures it moved, so
    // that Undo puts each back in its place among the events of its tick.
    std::shared_ptr<RetimeStep> retime = std::make_shared<RetimeStep>();
    if (valid) {
        const uint32_t m = e->measure;
        if (m_sequence.GetNumeratorAtMeasure(m) == numerator && m_sequence.GetDenominatorAtMeasure(m) == denominator)
            return true; // the same signature is in force there already
        e->time = m_sequence.GetMeasureStartTick(m);
        e->beat = 0;
        e->tick = 0;
        *retime = RetimeStep(m_sequence);
        // A signature of the master track at that tick gives way (the map
        // stays until the new one is set; the step keeps it as it was
        // before, which Undo gives back).
        for (size_t i = 0; i < m_sequence.GetEventCount(); ++i) {
            const CMidiEvent& old = *m_sequence.GetEvent(i);
            if (old.time > e->time) break;
            if (old.track == 0 && old.time == e->time && IsTimeSignatureEvent(old)) {
                m_undo.RecordAction(UndoTargetMasterEvent, old, UndoDelete, groupStart, int32_t(i), -1,
                                    std::make_shared<RetimeStep>());
                groupStart = 0;
                m_sequence.RemoveEvent(i);
                break;
            }
        }
        int32_t end = -1;
        for (const auto& ep : m_sequence.GetEvents())
            if (ep->track == 0 && IsTimeSignatureEvent(*ep) && ep->measure > m) {
                end = int32_t(ep->measure);
                break;
            }
        m_sequence.SetTimeSignature(int32_t(m), numerator, denominator, end);
        if (!retime->Retime(m_sequence)) return false;
        m_mapChanged = true;
    }
    const auto& events = m_sequence.GetEvents();
    const uint32_t time = e->time;
    const size_t at = size_t(std::upper_bound(events.begin(), events.end(), time,
                                              [](uint32_t t, const auto& ep) { return t < ep->time; }) -
                             events.begin());
    m_sequence.InsertEvent(at, std::move(e));
    m_sequence.Renumber(0);
    m_undo.RecordAction(UndoTargetMasterEvent, *m_sequence.GetEvent(at), UndoInsert, groupStart, int32_t(at), -1,
                        std::move(retime));
    groupStart = 0;
    return true;
}

bool EventPasteEngine::ApplyHeaders(const EventClipboardBlock& block, const PasteDlgValues& choice, int lowest,
                                    uint32_t& groupStart)
{
    if (!m_doc) return true;
    for (const ClipboardTrackHeader& h : block.headers) {
        const int64_t row = choice.oneTrack ? int64_t(choice.startTrack) - 1
                                            : int64_t(h.trackIndex) + choice.startTrack - lowest;
        if (row < 0 || row > 63 || m_hadEvents[size_t(row + 1)]) continue;
        const int t = int(row) + 1;
        const uint8_t channel = h.channel;
        RecordTrackOnce(t, groupStart);
        if (!m_doc->SetTrackName(h.name, t, groupStart) || !m_doc->SetTrackPort(h.port, t, groupStart))
            return false;
        if (!m_doc->SetTrackBank(h.bank, t, channel, groupStart)) return false;
        if (!m_doc->SetTrackProgram(h.program, t, channel, groupStart)) return false;
        if (!m_doc->SetTrackVolume(h.volume, t, channel, groupStart) || !m_doc->SetTrackPan(h.pan, t, channel, groupStart))
            return false;
        m_sequence.Renumber(0);
        CTrackInfo* record = m_doc->TrackRecord(int(row));
        if (!record) continue;
        // The track once more as the setters left it: Redo ends with it, so
        // that a name or port the headers wrote over a pasted one stays.
        m_undo.RecordTrackAction(*record, *m_sequence.GetTrack(t), UndoModify, groupStart, int32_t(row),
                                 int32_t(row));
        groupStart = 0;
        record->name = h.name.substr(0, 16);
        record->port = h.port;
        record->channel = h.channel;
        record->bank = h.bank;
        record->program = h.program;
        record->volume = h.volume;
        record->pan = h.pan;
        record->hasEvents = 1;
        m_doc->RefreshTrackCounts(t);
        if (record->totalEvents > 0) record->play = 1;
        if (CMidiParserEx::Track* table = m_sequence.GetTrack(t)) {
            // The track's table agrees with its record.
            table->channel = h.channel;
            table->volumeSeen = table->panSeen = 1;
            table->portSeen = table->nameSeen = 1;
        }
    }
    return true;
}

EditResult EventPasteEngine::Paste(const EventClipboardBlock& block,
                                   const EventClipboardSupplement& supplement, const PasteDlgValues& choice)
{
    m_pasted = 0;
    m_mapChanged = false;
    m_trackRecorded.fill(0);
    if (m_mode == Mode::WholeList && block.headers.empty()) return EditResult::Failed;
    const TickScale scale(supplement.division, m_sequence.GetDivision());
    if (!scale.Fits(block, choice.startTick)) return EditResult::Failed;
    PasteDlgValues c = choice;
    c.startTrack = std::clamp(c.startTrack, 1, 64);
    int lowest = 64;
    for (const auto& h : block.headers)
        lowest = std::min<int64_t>(lowest, int64_t(h.trackIndex) + 1);
    for (int t = 1; t <= 64; ++t) {
        const CTrackInfo* record = m_doc ? m_doc->TrackRecord(t - 1) : nullptr;
        m_hadEvents[size_t(t)] = record ? record->totalEvents > 0 : m_sequence.GetTrackTotalEvents(t) > 0;
    }

    uint32_t groupStart = 1;
    bool ok = true;
    {
        Placement place(m_sequence);
        size_t noteOffAt = 0;
        for (size_t k = 0; k < block.records.size(); ++k) {
            const ClipboardEventRecord& r = block.records[k];
            // The target track
            int target;
            if (m_mode == Mode::TrackList) {
                if (r.track == 0) continue;
                target = c.startTrack;
            } else if (r.track == 0) {
                target = 0;
            } else if (r.track > 64) {
                continue;
            } else {
                target = c.oneTrack ? c.startTrack : int(r.track) - lowest + c.startTrack;
                if (target < 1 || target > 64) continue;
            }

            // The kinds the dialog left out
            const int type = recordMetaType(r);
            if (m_mode == Mode::TrackList) {
                if (type == 0x58) continue;
            } else {
                if (!c.markers && r.track == 0 && (type == 1 || type == 5 || type == 6)) continue;
                if (c.markers && r.track == 0 && type == 3) continue;
                if (!c.tempo && type == 0x51) continue;
                if (!c.tact && type == 0x58) continue;
                if (!c.trackEvents && type != 1 && type != 5 && type != 6 && type != 0x51 && type != 0x58) continue;
                // A track that has its own first values keeps them.
                if (target > 0 && (r.flags & kFirstOfKind) &&
                    (m_hadEvents[size_t(target)] || (c.oneTrack && int(r.track) != lowest)))
                    continue;
            }

            // The track goes into the group before its first event changes it.
            RecordTrackOnce(target, groupStart);

            // The event
            auto e = MidiDocAllocator::NewEvent();
            const bool channel = isChannelStatus(r.status);
            if (!e || !MidiDocAllocator::Resize(e->data, channel ? std::max(r.data.size(), kChannelEventBuffer) : r.data.size())) {
                ok = false;
                break;
            }
            std::copy(r.data.begin(), r.data.end(), e->data.begin());
            e->status = r.status;
            e->length = uint32_t(r.data.size());
            e->paired = r.paired;
            e->duration = uint32_t(scale.Duration(r));
            e->flags = r.flags;
            e->time = c.startTick + uint32_t(scale.Time(r.time));
            e->track = uint8_t(target);
            if (m_mode != Mode::TrackList && (e->flags & CMidiEvent::kVexNoise) && channel &&
                ((r.status & 0xF0) == 0x80 || (r.status & 0xF0) == 0x90)) {
                // A VEX note in a MIDI file is a plain note.
                e->length = 2;
                e->flags &= uint8_t(~CMidiEvent::kVexNoise);
            }
            if (m_mode == Mode::TrackList && channel) e->status = uint8_t((r.status & 0xF0) | ((c.startTrack - 1) & 0x0F));
            SetEventPosition(m_sequence, *e);
            if (channel) TakeChannel(target, e->status & 0x0F);

            if (type == 0x58) {
                if (!PlaceTimeSignature(place, std::move(e), groupStart)) {
                    ok = false;
                    break;
                }
                ++m_pasted;
                continue;
            }

            // A pasted note gets its own note-off: the one it was copied
            // with (on the note's channel), else a note-on of velocity 0.
            std::unique_ptr<CMidiEvent> off;
            if (channel && isNoteOn(*e) && e->paired) {
                off = MidiDocAllocator::NewEvent();
                if (!off || !MidiDocAllocator::Resize(off->data, kChannelEventBuffer)) {
                    ok = false;
                    break;
                }
                const EventClipboardSupplement::NoteOff* copied =
                    supplement.NoteOffOf(uint32_t(k), noteOffAt);
                off->status = uint8_t((copied ? copied->status & 0xF0 : 0x90) | (e->status & 0x0F));
                off->data[0] = e->data[0];
                off->data[1] = copied ? copied->velocity : 0;
                off->length = 2;
                off->time = e->time + e->duration;
                off->paired = 1;
                off->track = e->track;
                e->pairId = off->pairId = m_sequence.NextPairId();
                SetEventPosition(m_sequence, *off);
            }
            EventOrderTree& tree = place.Tree();
            size_t at = tree.upperBound(e->time);
            m_sequence.CountInsertedEvent(*e);
            const CMidiEvent& placed = *e;
            tree.insert(at, std::move(e));
            m_undo.RecordAction(UndoTargetEvent, placed, UndoInsert, groupStart, int32_t(at), -1);
            groupStart = 0;
            ++m_pasted;
            if (off) {
                at = tree.upperBound(off->time);
                m_sequence.CountInsertedEvent(*off);
                const CMidiEvent& placedOff = *off;
                tree.insert(at, std::move(off));
                m_undo.RecordAction(UndoTargetEvent, placedOff, UndoInsert, 0, int32_t(at), -1);
            }
        }
        place.ToArray();
        m_sequence.Renumber(0);
        if (ok && m_mode != Mode::TrackList) ok = ApplyHeaders(block, c, lowest, groupStart);
    }
    if (!ok) {
        // Nothing of a failed paste stays: its group is taken back and kept on neither stack.
        if (groupStart == 0) m_undo.RollBackOpenGroup();
        m_sequence.Renumber(0);
        m_pasted = 0;
    }
    if (m_doc)
        for (int t = 1; t <= 64; ++t)
            m_doc->RefreshTrackCounts(t);
    m_sequence.Renumber(0);
    if (!ok) return EditResult::Failed;
    // Track headers alone change the document too.
    return m_pasted > 0 || groupStart == 0 ? EditResult::Done : EditResult::Nothing;
}

} // namespace zib
