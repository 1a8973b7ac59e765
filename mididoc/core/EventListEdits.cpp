// The edits of the event lists: committed cells, the event code, create,
// delete, transpose, shift and the text dump.
#include "mididoc/core/EventListModel.h"

#include "midi/CMidiParserEx.h"
#include "midi/MidiEventKind.h"
#include "midi/MidiVarLen.h"
#include "mididoc/core/CUndoManager.h"
#include "mididoc/core/EventListDump.h"
#include "mididoc/core/EventListOwner.h"
#include "mididoc/core/EventSnapshot.h"
#include "mididoc/core/MarkedEventShift.h"
#include "mididoc/core/MidiDocAllocator.h"
#include "mididoc/core/MidiDocMessages.h"
#include "mididoc/core/MidiDocModel.h"
#include "mididoc/core/PairIndex.h"
#include "mididoc/core/SequenceEdits.h"
#include "platform/Cp1252.h"
#include "platform/FileIo.h"

#include <algorithm>
#include <limits>

namespace zib {

namespace {

constexpr size_t kChannelBuffer = 6;

bool isNoteGroup(uint8_t status)
{
    return (status & 0xF0) == 0x80 || (status & 0xF0) == 0x90;
}

// A channel event with the six-byte buffer of its kind
std::unique_ptr<CMidiEvent> newChannelEvent(uint8_t status, uint8_t data1, uint8_t data2, uint32_t length)
{
    auto e = MidiDocAllocator::NewEvent();
    if (!e || !MidiDocAllocator::Resize(e->data, kChannelBuffer)) return nullptr;
    e->status = status;
    e->data[0] = data1;
    e->data[1] = data2;
    e->length = length;
    return e;
}

} // namespace

// ---- Shared steps of the edits ---------------------------------------------

void EventListModel::Modified(int track)
{
    if (CMidiParserEx* sequence = Sequence(); sequence && track >= 0) sequence->SetTrackModified(track & 255, 1);
    m_owner.ListSetModified();
}

void EventListModel::TrackCountsChanged(int track)
{
    if (MidiDocModel* doc = m_owner.ListDocument()) doc->RefreshTrackCounts(track);
}

bool EventListModel::RecordModify(const CMidiEvent& e, uint32_t groupStart, size_t index, size_t second)
{
    return m_owner.ListUndo().RecordAction(UndoTargetEvent, e, UndoModify, groupStart, int32_t(index),
                                           int32_t(second)) >= 0;
}

bool EventListModel::RecordInsert(size_t index, uint32_t groupStart)
{
    const CMidiEvent* e = Sequence()->GetEvent(index);
    return e && m_owner.ListUndo().RecordAction(UndoTargetEvent, *e, UndoInsert, groupStart, int32_t(index), -1) >= 0;
}

size_t EventListModel::InsertAfter(size_t index, std::unique_ptr<CMidiEvent> event)
{
    CMidiParserEx& sequence = *Sequence();
    const size_t at = std::min(index + 1, sequence.GetEventCount());
    const int track = event->track;
    sequence.InsertEvent(at, std::move(event));
    sequence.GetEvent(at)->index = uint32_t(at);
    TrackCountsChanged(track);
    return at;
}

uint32_t EventListModel::TicksPerBeatAt(uint32_t time) const
{
    CMidiParserEx& sequence = *Sequence();
    uint32_t measure = 0, beat = 0, tick = 0;
    if (sequence.TickToMbt(time, measure, beat, tick) != 0) return sequence.GetDivision();
    const uint32_t denominator = sequence.GetDenominatorAtMeasure(measure);
    return denominator ? uint32_t(sequence.GetDivision()) * 4 / denominator : sequence.GetDivision();
}

std::unique_ptr<CMidiEvent> EventListModel::NewNoteOff(const CMidiEvent& noteOn, uint32_t time)
{
    auto off = newChannelEvent(noteOn.status, eventDataByte(noteOn, 0), 0, 2);
    if (!off) return nullptr;
    off->time = time;
    off->paired = 1;
    off->track = noteOn.track;
    off->pairId = noteOn.pairId;
    off->listVisible = 0;
    SetEventPosition(*Sequence(), *off);
    return off;
}

void EventListModel::ReportNoMemory(std::string_view caption)
{
    DocMessage m;
    m.message = kMsgCannotAllocateEvent;
    m.caption = std::string(caption);
    m_owner.ListHooks().Reports().Report(m);
}

// ---- Note helpers ----------------------------------------------------------

bool EventListModel::MoveNote(size_t index, uint32_t oldTime, uint32_t newTime, size_t& finalIndex)
{
    CMidiParserEx& sequence = *Sequence();
    CUndoManager& undo = m_owner.ListUndo();
    CMidiEvent& on = *sequence.GetEvent(index);
    EventSnapshot onBefore;
    if (!EventSnapshot::Take(on, onBefore)) return false;
    on.time = newTime;
    SetEventPosition(sequence, on);
    int64_t offIndex = -1;
    if (on.paired)
        for (size_t i = index + 1; i < sequence.GetEventCount() && offIndex < 0; ++i)
            if (sequence.GetEvent(i)->pairId == on.pairId) offIndex = int64_t(i);
    if (offIndex < 0) {
        finalIndex = MoveEventToTime(index, oldTime, newTime);
        undo.RecordSnapshot(UndoTargetEvent, onBefore, UndoModify, 1, int32_t(index), int32_t(finalIndex));
        return true;
    }
    CMidiEvent& off = *sequence.GetEvent(size_t(offIndex));
    EventSnapshot offBefore;
    if (!EventSnapshot::Take(off, offBefore)) return false;
    const uint32_t offOld = off.time;
    const int64_t shifted = int64_t(off.time) + int64_t(newTime) - int64_t(oldTime);
    const uint32_t offNew = uint32_t(std::clamp<int64_t>(shifted, 0, std::numeric_limits<uint32_t>::max()));
    off.time = offNew;
    SetEventPosition(sequence, off);
    // Moving earlier the note-on goes first, moving later its note-off, so
    // that neither passes the other.
    if (newTime < oldTime) {
        finalIndex = MoveEventToTime(index, oldTime, newTime);
        undo.RecordSnapshot(UndoTargetEvent, onBefore, UndoModify, 1, int32_t(index), int32_t(finalIndex));
        const size_t offFinal = MoveEventToTime(size_t(offIndex), offOld, offNew);
        undo.RecordSnapshot(UndoTargetEvent, offBefore, UndoModify, 0, int32_t(offIndex), int32_t(offFinal));
    } else {
        const size_t offFinal = MoveEventToTime(size_t(offIndex), offOld, offNew);
        undo.RecordSnapshot(UndoTargetEvent, offBefore, UndoModify, 1, int32_t(offIndex), int32_t(offFinal));
        finalIndex = MoveEventToTime(index, oldTime, newTime);
        undo.RecordSnapshot(UndoTargetEvent, onBefore, UndoModify, 0, int32_t(index), int32_t(finalIndex));
    }
    return true;
}

bool EventListModel::SetNoteChannel(size_t index, uint8_t status)
{
    CMidiParserEx& sequence = *Sequence();
    CMidiEvent& on = *sequence.GetEvent(index);
    RecordModify(on, 1, index, index);
    on.status = status;
    const int64_t partner = FindPartnerEvent(index);
    if (partner >= 0) {
        CMidiEvent& off = *sequence.GetEvent(size_t(partner));
        RecordModify(off, 0, size_t(partner), size_t(partner));
        // The note-off keeps its kind (a 0x8n note-off stays one) and takes the channel.
        off.status = uint8_t((off.status & 0xF0) | (status & 0x0F));
        Modified(off.track);
    }
    return true;
}

bool EventListModel::SetNoteNumber(size_t index, uint8_t note, uint32_t groupStart, const PairIndex* pairs)
{
    CMidiParserEx& sequence = *Sequence();
    CMidiEvent& on = *sequence.GetEvent(index);
    RecordModify(on, groupStart, index, index);
    on.data[0] = note;
    const int64_t partner = on.paired ? PartnerOf(index, pairs) : -1;
    if (partner >= 0) {
        CMidiEvent& off = *sequence.GetEvent(size_t(partner));
        RecordModify(off, 0, size_t(partner), size_t(partner));
        if (!off.data.empty()) off.data[0] = note;
    }
    return true;
}

bool EventListModel::SetNoteDuration(size_t index, uint32_t duration)
{
    CMidiParserEx& sequence = *Sequence();
    CMidiEvent& on = *sequence.GetEvent(index);
    RecordModify(on, 1, index, index);
    on.duration = duration;
    const int64_t partner = FindPartnerEvent(index);
    if (partner < 0) return true;
    CMidiEvent& off = *sequence.GetEvent(size_t(partner));
    EventSnapshot before;
    if (!EventSnapshot::Take(off, before)) return false;
    const uint32_t oldTime = off.time;
    const uint32_t newTime = uint32_t(std::min<uint64_t>(uint64_t(on.time) + duration, UINT32_MAX));
    off.time = newTime;
    SetEventPosition(sequence, off);
    const size_t final = MoveEventToTime(size_t(partner), oldTime, newTime);
    m_owner.ListUndo().RecordSnapshot(UndoTargetEvent, before, UndoModify, 0, int32_t(partner), int32_t(final));
    return true;
}

// ---- Committing a cell -----------------------------------------------------

EditResult EventListModel::CommitTime(CMidiEvent& e, uint32_t newTime)
{
    CMidiParserEx& sequence = *Sequence();
    const size_t index = e.index;
    const uint32_t oldTime = e.time;
    Modified(e.track);
    e.state = kMarkSelectAgain;
    size_t final = index;
    if (isNoteOn(e)) {
        if (!MoveNote(index, oldTime, newTime, final)) {
            e.state = 0;
            ReportNoMemory("CommitCellEdit");
            return EditResult::Failed;
        }
    } else {
        EventSnapshot before;
        if (!EventSnapshot::Take(e, before)) {
            e.state = 0;
            ReportNoMemory("CommitCellEdit");
            return EditResult::Failed;
        }
        before.state = 0;
        e.time = newTime;
        SetEventPosition(sequence, e);
        final = MoveEventToTime(index, oldTime, newTime);
        m_owner.ListUndo().RecordSnapshot(UndoTargetEvent, before, UndoModify, 1, int32_t(index), int32_t(final));
    }
    RefillRows();
    SelectMarkedRow();
    if (m_policy.FollowsPlayer()) m_owner.ListHooks().Views().GoToPosition(newTime);
    return EditResult::Done;
}

EditResult EventListModel::CommitMetaText(CMidiEvent& e, const std::string& utf8)
{
    std::string text = utf8ToCp1252(utf8);
    if (text.size() > 255) text.resize(255);
    std::span<const uint8_t> old;
    if (MetaData(e, old) && old.size() == text.size() && std::equal(old.begin(), old.end(), text.begin(), text.end(),
                                                                    [](uint8_t a, char b) { return a == uint8_t(b); }))
        return EditResult::Nothing;
    uint8_t lengthBytes[4];
    const int n = WriteMidiVarLen(uint32_t(text.size()), lengthBytes);
    const size_t rawLength = 2 + size_t(n) + text.size();
    std::vector<uint8_t> raw;
    if (!MidiDocAllocator::Resize(raw, std::max(rawLength, e.data.size()))) {
        ReportNoMemory("CommitCellEdit");
        return EditResult::Failed;
    }
    RecordModify(e, 1, e.index, e.index);
    const uint8_t type = eventDataByte(e, 1);
    raw[0] = 0xFF;
    raw[1] = type;
    std::copy(lengthBytes, lengthBytes + n, raw.begin() + 2);
    std::copy(text.begin(), text.end(), raw.begin() + 2 + n);
    e.data.swap(raw);
    e.length = uint32_t(rawLength);
    Modified(e.track);
    return EditResult::Done;
}

// An unpaired note-off row that gets a velocity or a duration becomes a note
// with its own note-off (at its time, or at time + duration).
EditResult EventListModel::CommitNoteOffValue(CMidiEvent& e, uint8_t velocity, std::optional<uint32_t> duration)
{
    CMidiParserEx& sequence = *Sequence();
    const size_t index = e.index;
    const uint32_t length = duration.value_or(0);
    const uint32_t offTime = uint32_t(std::min<uint64_t>(uint64_t(e.time) + length, UINT32_MAX));
    auto off = newChannelEvent(uint8_t(0x90 | (e.status & 0x0F)), eventDataByte(e, 0), 0, 2);
    if (!off) {
        ReportNoMemory("CommitCellEdit");
        return EditResult::Failed;
    }
    RecordModify(e, 1, index, index);
    e.status = uint8_t(0x90 | (e.status & 0x0F));
    if (e.data.size() < 2 && !MidiDocAllocator::Resize(e.data, kChannelBuffer)) return EditResult::Failed;
    e.data[1] = velocity;
    e.length = 2;
    e.duration = length;
    e.pairId = sequence.NextPairId();
    e.paired = 1;
    off->time = offTime;
    off->paired = 1;
    off->track = e.track;
    off->pairId = e.pairId;
    SetEventPosition(sequence, *off);
    size_t at = InsertAfter(index, std::move(off));
    if (duration) at = MoveEventToTime(at, e.time, offTime);
    RecordInsert(at, 0);
    sequence.Renumber(0);
    Modified(e.track);
    return EditResult::Done;
}

EditResult EventListModel::CommitCellEdit(const CellEditStart& start, const CellEditValue& value)
{
    if (Refused()) return EditResult::RefusedWhilePlaying;
    CMidiParserEx* sequence = Sequence();
    CMidiEvent* e = RowEvent(start.row);
    if (!sequence || !e || start.what != CellEditStart::What::Editor) return EditResult::Nothing;
    if (sequence->GetEvent(e->index) != e) sequence->Renumber(0);
    const uint8_t group = e->status & 0xF0;
    const bool channel = isChannelStatus(e->status);
    const bool noteOffRow = channel && isNoteOff(*e);
    EditResult result = EditResult::Nothing;
    switch (start.column) {
    case kTimeColumn:
    case kPositionColumn:
        if (value.number != e->time) return CommitTime(*e, value.number);
        return EditResult::Nothing;
    case kChannelColumn: {
        if (!channel) return EditResult::Nothing;
        const uint8_t status = uint8_t(group | ((value.number - 1) & 0x0F));
        if (status == e->status) return EditResult::Nothing;
        Modified(e->track);
        if (isNoteOn(*e)) {
            SetNoteChannel(e->index, status);
        } else {
            RecordModify(*e, 1, e->index, e->index);
            e->status = status;
        }
        result = EditResult::Done;
        break;
    }
    case kDataColumn:
        if (start.statusClass == 0xFF) {
            if (value.text == start.text) return EditResult::Nothing;
            result = CommitMetaText(*e, value.text);
            break;
        }
        if (!channel) return EditResult::Nothing;
        if (start.statusClass == 0x90 && group == 0x90) {
            const uint8_t note = uint8_t(std::min<uint32_t>(value.number, 127));
            if (note == eventDataByte(*e, 0)) return EditResult::Nothing;
            if (eventDataByte(*e, 1) == 0) {
                RecordModify(*e, 1, e->index, e->index);
                e->data[0] = note;
            } else {
                SetNoteNumber(e->index, note, 1, nullptr);
            }
        } else if (group == 0xE0) {
            const uint32_t wheel = std::min<uint32_t>(value.number, 16383);
            const uint8_t d1 = uint8_t(wheel & 127), d2 = uint8_t((wheel >> 7) & 127);
            if (d1 == eventDataByte(*e, 0) && d2 == eventDataByte(*e, 1)) return EditResult::Nothing;
            RecordModify(*e, 1, e->index, e->index);
            e->data[0] = d1;
            e->data[1] = d2;
        } else {
            const uint8_t d1 = uint8_t(std::min<uint32_t>(value.number, 127));
            if (d1 == eventDataByte(*e, 0)) return EditResult::Nothing;
            RecordModify(*e, 1, e->index, e->index);
            e->data[0] = d1;
        }
        Modified(e->track);
        result = EditResult::Done;
        break;
    case kValueColumn: {
        if (!channel) return EditResult::Nothing;
        const uint8_t v = uint8_t(std::min<uint32_t>(value.number, 127));
        if (v == eventDataByte(*e, 1)) return EditResult::Nothing;
        if (noteOffRow && v > 0) {
            result = CommitNoteOffValue(*e, v, std::nullopt);
        } else {
            RecordModify(*e, 1, e->index, e->index);
            e->data[1] = v;
            Modified(e->track);
            result = EditResult::Done;
        }
        break;
    }
    case kDurationColumn:
        if (isNoteOn(*e)) {
            if (value.number == e->duration) return EditResult::Nothing;
            Modified(e->track);
            if (!SetNoteDuration(e->index, value.number)) {
                ReportNoMemory("CommitCellEdit");
                result = EditResult::Failed;
            } else {
                result = EditResult::Done;
            }
            sequence->Renumber(0);
        } else if (noteOffRow) {
            const uint8_t velocity = eventDataByte(*e, 1) == 0 ? 100 : eventDataByte(*e, 1);
            result = CommitNoteOffValue(*e, velocity, value.number);
        }
        break;
    default:
        return EditResult::Nothing;
    }
    RefillRows();
    return result;
}

// ---- Event code ------------------------------------------------------------

EditResult EventListModel::EditEventCode(int row)
{
    if (Refused()) return EditResult::RefusedWhilePlaying;
    CMidiParserEx* sequence = Sequence();
    CMidiEvent* found = RowEvent(row);
    if (!sequence || !found) return EditResult::Nothing;
    if (sequence->GetEvent(found->index) != found) sequence->Renumber(0);
    CMidiEvent& e = *found;
    const int oldType = MetaType(e);
    const bool oldMeta = e.status == 0xFF;
    if (!isChannelStatus(e.status) && !(oldMeta && (oldType == 1 || oldType == 5 || oldType == 6)))
        return EditResult::Nothing;
    EventCodeDlgValues values;
    values.oldStatus = e.status;
    values.metaType = oldMeta ? uint8_t(oldType) : 0;
    values.docKind = m_owner.ListDocKind();
    values.modelLetter = m_owner.ListModelLetter();
    const auto choice = m_owner.ListHooks().Dialogs().EditEventCode(values);
    if (!choice) return EditResult::Cancelled;
    const uint8_t newStatus = choice->status;
    const bool newMeta = newStatus == 0xFF;
    const bool changed = newStatus != e.status || (oldMeta && newMeta && choice->metaType != oldType);
    if (!changed || ((e.status & 0xF0) == 0x80 && (newStatus & 0xF0) == 0x90)) return EditResult::Nothing;
    if (newMeta && choice->metaType != 1 && choice->metaType != 5 && choice->metaType != 6) return EditResult::Nothing;

    const uint8_t oldGroup = e.status & 0xF0;
    const uint8_t newGroup = newStatus & 0xF0;
    const bool newNoteOn = newGroup == 0x90 && !isNoteGroup(e.status);
    // What the change needs is had before anything changes.
    std::unique_ptr<CMidiEvent> off;
    std::vector<uint8_t> buffer;
    if (newNoteOn) off = newChannelEvent(newStatus, 0, 0, 2);
    const bool needBuffer = (oldMeta && !newMeta) || (newMeta && !oldMeta && e.data.size() < 4);
    if ((newNoteOn && !off) || (needBuffer && !MidiDocAllocator::Resize(buffer, std::max<size_t>(kChannelBuffer, 4)))) {
        ReportNoMemory("EditEventCode");
        return EditResult::Failed;
    }

    const size_t index = e.index;
    Modified(e.track);
    RecordModify(e, 1, index, index);
    uint8_t status = newStatus;
    if (oldMeta && !newMeta) {
        // The channel of the first channel event of another listed track, else the dialog's
        for (const auto& other : sequence->GetEvents())
            if (other->track != e.track && other->track <= 64 && m_shown[other->track] && isChannelStatus(other->status)) {
                status = uint8_t(newGroup | (other->status & 0x0F));
                break;
            }
    }
    e.status = status;
    auto makeMeta = [&](uint8_t type) {
        if (e.data.size() < 4) e.data.swap(buffer);
        e.data[0] = 0xFF;
        e.data[1] = type;
        e.data[2] = 0x01;
        e.data[3] = 0x2E; // "."
        e.length = 4;
        e.paired = 1;
    };
    if (isNoteGroup(uint8_t(oldGroup))) {
        if (newGroup == 0xC0 || newGroup == 0xD0) e.length = 1;
        if (newMeta) makeMeta(choice->metaType);
        e.duration = 0;
        if (!isNoteGroup(status)) e.paired = 1;
        if (e.pairId >= 0) {
            const int64_t partner = FindPartnerEvent(index);
            e.pairId = -1;
            if (partner >= 0) {
                m_owner.ListUndo().RecordAction(UndoTargetEvent, *sequence->GetEvent(size_t(partner)), UndoDelete, 0,
                                                int32_t(partner), -1);
                const int track = sequence->GetEvent(size_t(partner))->track;
                sequence->RemoveEvent(size_t(partner));
                TrackCountsChanged(track);
            }
            sequence->Renumber(0);
        }
    } else if (oldGroup == 0xA0 || oldGroup == 0xB0 || oldGroup == 0xE0) {
        if (newGroup == 0xC0 || newGroup == 0xD0) e.length = 1;
        if (newMeta) makeMeta(choice->metaType);
    } else if (oldGroup == 0xC0 || oldGroup == 0xD0) {
        if (newMeta) {
            makeMeta(choice->metaType);
        } else if (newGroup != 0xC0 && newGroup != 0xD0) {
            e.length = 2;
            e.data[1] = 0;
        }
    } else if (oldMeta && newMeta) {
        // Text, lyric and marker trade their type and keep their text.
        e.data[1] = choice->metaType;
    } else {
        std::fill(buffer.begin(), buffer.end(), 0);
        e.data.swap(buffer);
        e.length = 2;
        e.paired = 1;
    }
    if (newNoteOn) {
        if (e.data[1] == 0) e.data[1] = 100;
        const uint32_t beat = TicksPerBeatAt(e.time);
        e.pairId = sequence->NextPairId();
        e.paired = 1;
        e.duration = beat;
        off->data[0] = e.data[0];
        off->time = uint32_t(std::min<uint64_t>(uint64_t(e.time) + beat, UINT32_MAX));
        off->paired = 1;
        off->track = e.track;
        off->pairId = e.pairId;
        SetEventPosition(*sequence, *off);
        const uint32_t offTime = off->time;
        const size_t at = MoveEventToTime(InsertAfter(index, std::move(off)), e.time, offTime);
        sequence->Renumber(0);
        RecordInsert(at, 0);
    }
    sequence->Renumber(0);
    RefillRows();
    return EditResult::Done;
}

// ---- Delete and create -----------------------------------------------------

EditResult EventListModel::DeleteSelectedEvents(const std::vector<int>& rows)
{
    if (Refused()) return EditResult::RefusedWhilePlaying;
    CMidiParserEx* sequence = Sequence();
    if (!sequence) return EditResult::Nothing;
    for (const auto& ep : sequence->GetEvents())
        ep->state = 0;
    sequence->Renumber(0);
    const PairIndex pairs(*sequence);
    size_t marked = 0;
    for (int row : rows) {
        CMidiEvent* e = RowEvent(row);
        if (!e) continue;
        e->state = kMarkDelete;
        ++marked;
        if ((e->status & 0xF0) == 0x90) {
            const int64_t partner = pairs.Partner(e->index, m_owner.ListSortMethod());
            if (partner >= 0) sequence->GetEvent(size_t(partner))->state = kMarkDelete;
        }
    }
    if (marked == 0) return EditResult::Nothing;
    uint32_t groupStart = 1;
    std::vector<uint8_t> touched(65, 0);
    for (size_t i = sequence->GetEventCount(); i-- > 0;) {
        const CMidiEvent& e = *sequence->GetEvent(i);
        if (e.state != kMarkDelete) continue;
        m_owner.ListUndo().RecordAction(UndoTargetEvent, e, UndoDelete, groupStart, int32_t(i), -1);
        groupStart = 0;
        touched[std::min<size_t>(e.track, 64)] = 1;
    }
    sequence->RemoveMarkedEvents(kMarkDelete);
    sequence->Renumber(0);
    for (int t = 1; t <= 64; ++t)
        if (touched[size_t(t)]) TrackCountsChanged(t);
    m_owner.ListSetModified();
    RefillRows();
    return EditResult::Done;
}

EditResult EventListModel::OnCreateEvent(int row, int& newRow)
{
    newRow = -1;
    if (Refused()) return EditResult::RefusedWhilePlaying;
    CMidiParserEx* sequence = Sequence();
    if (!sequence) return EditResult::Nothing;
    sequence->Renumber(0);
    int taken = row == TrailingRow() ? row - 1 : row;
    CMidiEvent* source = RowEvent(taken);
    if (!source) taken = -1;
    CMidiEvent* created = nullptr;

    if (sequence->GetEventCount() == 0 || taken < 0) {
        // A one-measure note 60 on the first shown track
        const int track = FirstShownTrack() > 0 ? FirstShownTrack() : 1;
        uint8_t recordChannel = 0;
        if (const MidiDocModel* doc = m_owner.ListDocument())
            if (const CTrackInfo* record = doc->TrackRecord(track - 1)) recordChannel = record->channel;
        const uint8_t channel = m_policy.NewEventChannel(track, recordChannel);
        const uint32_t length = sequence->GetMeasureLength(0);
        auto on = newChannelEvent(uint8_t(0x90 | channel), 60, 100, 2);
        auto off = newChannelEvent(uint8_t(0x90 | channel), 60, 0, 2);
        if (!on || !off) {
            ReportNoMemory("OnCreateEvent");
            return EditResult::Failed;
        }
        on->duration = length;
        on->track = uint8_t(track);
        on->listVisible = 1;
        on->pairId = sequence->NextPairId();
        on->paired = 1;
        off->time = length;
        off->track = uint8_t(track);
        off->pairId = on->pairId;
        off->paired = 1;
        SetEventPosition(*sequence, *off);
        created = on.get();
        sequence->InsertEvent(0, std::move(off));
        const size_t offAt = MoveEventToTime(0, 0, length);
        sequence->Renumber(0);
        RecordInsert(offAt, 1);
        size_t at = sequence->GetEventCount();
        for (size_t i = 0; i < sequence->GetEventCount(); ++i)
            if (sequence->GetEvent(i)->time > 0) {
                at = i;
                break;
            }
        sequence->InsertEvent(at, std::move(on));
        sequence->Renumber(0);
        RecordInsert(at, 0);
        TrackCountsChanged(track);
    } else {
        const size_t index = source->index;
        auto copy = MidiDocAllocator::CopyEvent(*source);
        const bool withOff = isNoteOn(*source) && source->paired;
        std::unique_ptr<CMidiEvent> off;
        if (copy && copy->data.size() < kChannelBuffer && !MidiDocAllocator::Resize(copy->data, kChannelBuffer))
            copy.reset();
        if (copy && withOff) off = NewNoteOff(*source, uint32_t(std::min<uint64_t>(uint64_t(source->time) + source->duration, UINT32_MAX)));
        if (!copy || (withOff && !off)) {
            ReportNoMemory("OnCreateEvent");
            return EditResult::Failed;
        }
        copy->state = 0;
        copy->listVisible = 1;
        copy->paired = 1;
        uint32_t groupStart = 1;
        if (withOff) {
            copy->pairId = sequence->NextPairId();
            off->pairId = copy->pairId;
            const uint32_t offTime = off->time;
            const size_t at = MoveEventToTime(InsertAfter(index, std::move(off)), source->time, offTime);
            sequence->Renumber(0);
            RecordInsert(at, 1);
            groupStart = 0;
        }
        created = copy.get();
        const size_t at = InsertAfter(index, std::move(copy));
        sequence->Renumber(0);
        RecordInsert(at, groupStart);
    }
    sequence->Renumber(0);
    m_owner.ListSetModified();
    RefillRows();
    newRow = RowOfEvent(created);
    if (newRow >= 0) SetCurrentCell(newRow, 0);
    return EditResult::Done;
}

// ---- Transpose, shift and dump ---------------------------------------------

EditResult EventListModel::TransposeEvents(const std::vector<int>& rows)
{
    if (Refused()) return EditResult::RefusedWhilePlaying;
    CMidiParserEx* sequence = Sequence();
    if (!sequence || rows.empty()) return EditResult::Nothing;
    const auto amount = m_owner.ListHooks().Dialogs().TransposeAmount();
    if (!amount) return EditResult::Cancelled;
    if (*amount == 0) return EditResult::Nothing;
    sequence->Renumber(0);
    const PairIndex pairs(*sequence);
    uint32_t groupStart = 1;
    for (int row : rows) {
        CMidiEvent* e = RowEvent(row);
        if (!e || !isChannelStatus(e->status)) continue;
        const uint8_t group = e->status & 0xF0;
        if (group != 0x80 && group != 0x90 && group != 0xA0) continue;
        const uint8_t note = uint8_t(eventDataByte(*e, 0) + *amount);
        if (note > 127 || note == eventDataByte(*e, 0)) continue;
        Modified(e->track);
        if (group != 0xA0 && eventDataByte(*e, 1) != 0) {
            SetNoteNumber(e->index, note, groupStart, &pairs);
        } else {
            RecordModify(*e, groupStart, e->index, e->index);
            e->data[0] = note;
        }
        groupStart = 0;
    }
    sequence->Renumber(0);
    RefillRows();
    return groupStart == 0 ? EditResult::Done : EditResult::Nothing;
}

EditResult EventListModel::ShiftEvents(const std::vector<int>& rows)
{
    if (Refused()) return EditResult::RefusedWhilePlaying;
    CMidiParserEx* sequence = Sequence();
    if (!sequence || rows.empty()) return EditResult::Nothing;
    const CMidiEvent* first = RowEvent(*std::min_element(rows.begin(), rows.end()));
    if (!first) return EditResult::Nothing;
    const uint32_t oldTime = first->time;
    const auto newTime = m_owner.ListHooks().Dialogs().ShiftTo(*sequence, oldTime, oldTime);
    if (!newTime) return EditResult::Cancelled;
    if (*newTime == oldTime) return EditResult::Nothing;

    m_owner.ListHooks().Views().Freeze();
    sequence->Renumber(0); // clears every mark
    const PairIndex pairs(*sequence);
    bool any = false;
    for (int row : rows) {
        CMidiEvent* e = RowEvent(row);
        if (!e) continue;
        e->state = kMarkShift;
        any = true;
        if (isNoteOn(*e) && e->paired) {
            const int64_t partner = pairs.LaterPartner(e->index);
            if (partner >= 0) sequence->GetEvent(size_t(partner))->state = kMarkShift;
        }
    }
    if (!any) {
        m_owner.ListHooks().Views().Thaw();
        return EditResult::Nothing;
    }
    ShiftMarkedEvents(*sequence, m_owner.ListUndo(), kMarkShift, int64_t(*newTime) - int64_t(oldTime));
    m_owner.ListHooks().Views().Thaw();
    m_owner.ListSetModified();
    RefillRows();
    return EditResult::Done;
}

EditResult EventListModel::OnUtilDumpToText(std::string_view title)
{
    CMidiParserEx* sequence = Sequence();
    if (!sequence) return EditResult::Nothing;
    RefillRows();
    const std::string text =
        EventListTextDump(*sequence, utf8ToCp1252(title), m_policy.DumpStyle(), m_owner.ListKeyAlphabet());
    const std::filesystem::path file = m_owner.ListFolder() / "EventListTxtDump.txt";
    MidiDocReports& reports = m_owner.ListHooks().Reports();
    if (writeFileAtomically(file, text) != FileIoError::None) {
        DocMessage m;
        m.message = kMsgCannotOpenReport;
        m.caption = "OnUtilDumpToText";
        m.icon = DocMessage::Icon::Stop;
        reports.Report(m);
        return EditResult::Failed;
    }
    DocMessage m;
    m.uiText = "%s text dump file successfully created:\nEventListTxtDump.txt";
    m.extra = std::string(title);
    m.caption = "OnUtilDumpToText";
    m.icon = DocMessage::Icon::Information;
    reports.Report(m);
    return EditResult::Done;
}

} // namespace zib
