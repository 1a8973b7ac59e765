#include "mididoc/core/CUndoManager.h"

#include "midi/CMidiParserEx.h"
#include "midi/MidiEventKind.h"
#include "mididoc/core/CUndoOwner.h"
#include "mididoc/core/SequenceEdits.h"

#include <new>

namespace zib {

CUndoManager::CUndoManager() = default;

CUndoManager::~CUndoManager()
{
    ClearAll();
}

void CUndoManager::SetOwner(int kind, CUndoOwner* owner)
{
    m_ownerKind = kind;
    m_owner = owner;
}

// ---- Recording -------------------------------------------------------------

int CUndoManager::RecordAction(UndoTarget target, const CMidiEvent& event, UndoOperation operation,
                               uint32_t groupStart, int32_t index, int32_t secondIndex)
{
    m_redo.clear();
    if (target != UndoTargetEvent && target != UndoTargetMasterEvent) return -1;
    return PushEvent(m_undo, target, event, operation, groupStart, index, secondIndex);
}

int CUndoManager::RecordTrackAction(const CTrackInfo& track, UndoOperation operation, uint32_t groupStart,
                                    int32_t index, int32_t secondIndex)
{
    m_redo.clear();
    return PushTrack(m_undo, track, operation, groupStart, index, secondIndex);
}

void CUndoManager::Fail()
{
    m_enabled = 0;
    m_undo.clear();
    m_redo.clear();
}

int CUndoManager::Push(Stack& stack, std::unique_ptr<CUndoRecord> record)
{
    // A disabled manager starts again only with the first record of a group.
    if (!m_enabled) {
        m_undo.clear();
        m_redo.clear();
        if (!record->groupStart) return -1;
        m_enabled = 1;
    }
    stack.push_back(std::move(record));
    return int(stack.size() - 1);
}

int CUndoManager::PushEvent(Stack& stack, UndoTarget target, const CMidiEvent& event, UndoOperation operation,
                            uint32_t groupStart, int32_t index, int32_t secondIndex)
{
    try {
        auto record = std::make_unique<CUndoRecord>();
        record->operation = operation;
        record->target = target;
        record->groupStart = groupStart;
        record->index = index;
        record->secondIndex = secondIndex;
        record->event = std::make_unique<CMidiEvent>(event);
        record->snapshotSize = uint32_t(sizeof(CMidiEvent) + event.data.size());
        return Push(stack, std::move(record));
    } catch (const std::bad_alloc&) {
        Fail();
        return -1;
    }
}

int CUndoManager::PushTrack(Stack& stack, const CTrackInfo& track, UndoOperation operation, uint32_t groupStart,
                            int32_t index, int32_t secondIndex)
{
    if (m_ownerKind != kOwnerMidiDocument || !m_owner) {
        Fail();
        return -1;
    }
    try {
        auto record = std::make_unique<CUndoRecord>();
        record->operation = operation;
        record->target = UndoTargetTrack;
        record->groupStart = groupStart;
        record->index = index;
        record->secondIndex = secondIndex;
        record->track = std::make_unique<CTrackInfo>(track);
        // The raw track data travel with the record only for a format-1 file.
        if (m_owner->UndoFileFormat() != 1) record->track->rawData.clear();
        record->snapshotSize = uint32_t(sizeof(CTrackInfo) + record->track->rawData.size());
        return Push(stack, std::move(record));
    } catch (const std::bad_alloc&) {
        Fail();
        return -1;
    }
}

long CUndoManager::NewestGroupStart(const Stack& stack)
{
    for (size_t i = stack.size(); i-- > 0;)
        if (stack[i]->groupStart) return long(i);
    return -1;
}

// Writes, oldest first, the inverse of every record from `groupStart` up onto
// the other stack: a delete becomes an insert and the reverse, each with the
// same snapshot; a modify keeps its kind and takes the object as it is now
// (before an Undo at its second index, before a Redo at its index).
bool CUndoManager::PushInverseGroup(const Stack& from, size_t groupStart, Stack& to, bool beforeUndo)
{
    for (size_t i = groupStart; i < from.size(); ++i) {
        const CUndoRecord& r = *from[i];
        const bool trackRecord = r.target == UndoTargetTrack;
        if (trackRecord ? !r.track : !r.event) return false;
        int pushed = -1;
        switch (r.operation) {
        case UndoDelete:
        case UndoInsert: {
            const auto inverse = r.operation == UndoDelete ? UndoInsert : UndoDelete;
            pushed = trackRecord ? PushTrack(to, *r.track, inverse, r.groupStart, r.index, r.secondIndex)
                                 : PushEvent(to, UndoTarget(r.target), *r.event, inverse, r.groupStart, r.index,
                                             r.secondIndex);
            break;
        }
        case UndoModify: {
            const int32_t at = beforeUndo ? r.secondIndex : r.index;
            if (trackRecord) {
                const CTrackInfo* now = m_owner ? m_owner->UndoTrackRecord(at) : nullptr;
                if (!now) return false;
                pushed = PushTrack(to, *now, UndoModify, r.groupStart, r.index, r.secondIndex);
            } else {
                const CMidiEvent* now = m_sequence && at >= 0 ? m_sequence->GetEvent(size_t(at)) : nullptr;
                if (!now) return false;
                pushed = PushEvent(to, UndoTarget(r.target), *now, UndoModify, r.groupStart, r.index,
                                   r.secondIndex);
            }
            break;
        }
        default:
            return false;
        }
        if (pushed < 0) return false;
    }
    return true;
}

// ---- Undo and redo ---------------------------------------------------------

int CUndoManager::Undo()
{
    if (!m_enabled) return 0;
    const long group = NewestGroupStart(m_undo);
    if (group < 0) {
        Fail();
        return 0;
    }
    if (!PushInverseGroup(m_undo, size_t(group), m_redo, true)) {
        Fail();
        return 0;
    }
    if (m_owner) m_owner->UndoFreezeViews();
    bool trackApplied = false;
    bool applied = true;
    for (size_t i = m_undo.size(); i-- > size_t(group);) {
        if (!Apply(*m_undo[i], true, trackApplied)) {
            applied = false;
            break;
        }
    }
    DiscardLastUndoGroup();
    RenumberOwnerEvents();
    // Part of the group stays applied: the inverse group on the redo stack
    // no longer matches the data, so nothing of the history is kept.
    if (!applied) Fail();
    if (m_owner) m_owner->UndoRefreshViews(trackApplied);
    return applied ? 1 : 0;
}

int CUndoManager::Redo()
{
    if (!m_enabled) return 0;
    const long group = NewestGroupStart(m_redo);
    if (group < 0) {
        Fail();
        return 0;
    }
    if (!PushInverseGroup(m_redo, size_t(group), m_undo, false)) {
        Fail();
        return 0;
    }
    if (m_owner) m_owner->UndoFreezeViews();
    bool trackApplied = false;
    bool applied = true;
    for (size_t i = size_t(group); i < m_redo.size(); ++i) {
        if (!Apply(*m_redo[i], false, trackApplied)) {
            applied = false;
            break;
        }
    }
    if (applied) {
        DiscardLastRedoGroup();
    } else {
        Fail();
    }
    RenumberOwnerEvents();
    if (m_owner) m_owner->UndoRefreshViews(trackApplied);
    return applied ? 1 : 0;
}

void CUndoManager::ClearAll()
{
    m_undo.clear();
    m_redo.clear();
}

void CUndoManager::DiscardLastUndoGroup()
{
    while (!m_undo.empty()) {
        const bool start = m_undo.back()->groupStart != 0;
        m_undo.pop_back();
        if (start) break;
    }
}

void CUndoManager::DiscardLastRedoGroup()
{
    while (!m_redo.empty()) {
        const bool start = m_redo.back()->groupStart != 0;
        m_redo.pop_back();
        if (start) break;
    }
}

void CUndoManager::RenumberOwnerEvents()
{
    if (m_sequence) m_sequence->Renumber(0);
}

// ---- Applying records ------------------------------------------------------

bool CUndoManager::Apply(const CUndoRecord& record, bool fromUndoStack, bool& trackApplied)
{
    switch (record.target) {
    case UndoTargetEvent:
        return ApplyEvent(record, fromUndoStack);
    case UndoTargetMasterEvent:
        return ApplyMasterEvent(record, fromUndoStack);
    case UndoTargetTrack:
        trackApplied = true;
        return ApplyTrack(record);
    default:
        return false;
    }
}

bool CUndoManager::ApplyEvent(const CUndoRecord& record, bool fromUndoStack)
{
    if (!m_sequence || !record.event || record.index < 0) return false;
    const CMidiEvent& snapshot = *record.event;
    const size_t index = size_t(record.index);
    switch (record.operation) {
    case UndoInsert:
        return RemoveEventAt(index);
    case UndoDelete:
        return InsertEventCopy(index, snapshot);
    case UndoModify: {
        if (record.secondIndex < 0) return false;
        const size_t second = size_t(record.secondIndex);
        if (index == second) return RestoreEvent(index, snapshot);
        return fromUndoStack ? RemoveEventAt(second) && InsertEventCopy(index, snapshot)
                             : RemoveEventAt(index) && InsertEventCopy(second, snapshot);
    }
    default:
        return false;
    }
}

void CUndoManager::TakeTrackCounts(int track)
{
    if (m_ownerKind != kOwnerMidiDocument || !m_owner || track < 1) return;
    if (CTrackInfo* record = m_owner->UndoTrackRecord(track - 1)) {
        record->listedEvents = m_sequence->GetTrackEventCount(track);
        record->totalEvents = m_sequence->GetTrackTotalEvents(track);
    }
}

bool CUndoManager::RemoveEventAt(size_t index)
{
    const CMidiEvent* e = m_sequence->GetEvent(index);
    if (!e) return false;
    const int track = e->track;
    if (m_sequence->RemoveEvent(index) < 0) return false;
    TakeTrackCounts(track);
    return true;
}

bool CUndoManager::InsertEventCopy(size_t index, const CMidiEvent& snapshot)
{
    if (index > m_sequence->GetEventCount()) return false;
    try {
        auto e = std::make_unique<CMidiEvent>(snapshot);
        e->listVisible = 0;
        const int track = e->track;
        if (m_sequence->InsertEvent(index, std::move(e)) < 0) return false;
        TakeTrackCounts(track);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// The live event takes the snapshot's values; its edit state and the bytes
// the writer keeps stay as they are.
bool CUndoManager::RestoreEvent(size_t index, const CMidiEvent& snapshot)
{
    CMidiEvent* e = m_sequence->GetEvent(index);
    if (!e) return false;
    try {
        e->data = snapshot.data;
    } catch (const std::bad_alloc&) {
        return false;
    }
    e->time = snapshot.time;
    e->length = snapshot.length;
    e->status = snapshot.status;
    e->index = snapshot.index;
    e->paired = snapshot.paired;
    e->track = snapshot.track;
    e->duration = snapshot.duration;
    e->played = snapshot.played;
    e->measure = snapshot.measure;
    e->beat = snapshot.beat;
    e->tick = snapshot.tick;
    e->pairId = snapshot.pairId;
    e->flags = snapshot.flags;
    e->listVisible = 0;
    return true;
}

// ---- Master-track records --------------------------------------------------

bool CUndoManager::ApplyMasterEvent(const CUndoRecord& record, bool fromUndoStack)
{
    if (m_ownerKind != kOwnerMidiDocument || !m_sequence || !record.event || record.index < 0) return false;
    const CMidiEvent& snapshot = *record.event;
    const size_t index = size_t(record.index);
    switch (record.operation) {
    case UndoInsert:
        return RemoveMasterEvent(index, snapshot);
    case UndoDelete:
        return InsertMasterEvent(index, snapshot);
    case UndoModify: {
        if (record.secondIndex < 0) return false;
        const size_t second = size_t(record.secondIndex);
        return fromUndoStack ? RemoveMasterEvent(second, snapshot) && InsertMasterEvent(index, snapshot)
                             : RemoveMasterEvent(index, snapshot) && InsertMasterEvent(second, snapshot);
    }
    default:
        return false;
    }
}

namespace {

// The measure of the first time-signature event of track 0 at or after
// position `from`; -1 (to the end of the map) when there is none.
int32_t nextTimeSignatureMeasure(const CMidiParserEx& sequence, size_t from)
{
    for (size_t i = from; i < sequence.GetEventCount(); ++i) {
        const CMidiEvent& e = *sequence.GetEvent(i);
        if (e.track == 0 && IsTimeSignatureEvent(e)) return int32_t(e.measure);
    }
    return -1;
}

} // namespace

bool CUndoManager::RemoveMasterEvent(size_t index, const CMidiEvent& snapshot)
{
    CMidiEvent* target = m_sequence->GetEvent(index);
    if (!target) return false;
    if (m_owner) m_owner->UndoMasterEventRemoving(index);
    const bool timeSignature = IsTimeSignatureEvent(snapshot);
    if (timeSignature) {
        // The signature before this one takes its measures, up to the next signature.
        const uint32_t measure = target->measure;
        uint8_t numerator = 4, denominator = 4;
        for (size_t i = index; i-- > 0;) {
            const uint32_t m = m_sequence->GetEvent(i)->measure;
            if (m != measure) {
                numerator = m_sequence->GetNumeratorAtMeasure(m);
                denominator = m_sequence->GetDenominatorAtMeasure(m);
                break;
            }
        }
        const int32_t end = nextTimeSignatureMeasure(*m_sequence, index + 1);
        m_sequence->SetTimeSignature(int32_t(measure), numerator, denominator, end);
        if (!RetimeSequence()) return false;
        // Re-timing may have moved events past this one.
        index = m_sequence->GetEventCount();
        for (size_t i = 0; i < m_sequence->GetEventCount(); ++i)
            if (m_sequence->GetEvent(i) == target) index = i;
        if (index == m_sequence->GetEventCount()) return false;
    }
    if (m_sequence->RemoveEvent(index) < 0) return false;
    m_sequence->Renumber(0);
    if (timeSignature && m_owner) m_owner->UndoTimeSignaturesChanged();
    return true;
}

bool CUndoManager::InsertMasterEvent(size_t index, const CMidiEvent& snapshot)
{
    if (index > m_sequence->GetEventCount()) return false;
    std::unique_ptr<CMidiEvent> e;
    try {
        e = std::make_unique<CMidiEvent>(snapshot);
    } catch (const std::bad_alloc&) {
        return false;
    }
    e->listVisible = 0;
    const bool timeSignature = IsTimeSignatureEvent(snapshot);
    if (timeSignature) {
        const uint8_t numerator = eventDataByte(snapshot, 3);
        const uint8_t denominator = TimeSignatureDenominator(eventDataByte(snapshot, 4));
        const int32_t end = nextTimeSignatureMeasure(*m_sequence, index);
        m_sequence->SetTimeSignature(int32_t(snapshot.measure), numerator, denominator, end);
        if (!RetimeSequence()) return false;
    }
    if (m_sequence->InsertEvent(index, std::move(e)) < 0) return false;
    for (size_t i = 0; i < m_sequence->GetEventCount(); ++i)
        m_sequence->GetEvent(i)->index = uint32_t(i);
    if (m_owner) {
        m_owner->UndoMasterEventInserted(index);
        if (timeSignature) m_owner->UndoTimeSignaturesChanged();
    }
    return true;
}

// After the map changed: time signatures move to the start of their measure
// (and to their sorted place); every other event keeps its time and takes
// its new measure, beat and tick.
bool CUndoManager::RetimeSequence()
{
    size_t i = 0;
    while (i < m_sequence->GetEventCount()) {
        CMidiEvent& e = *m_sequence->GetEvent(i);
        if (IsTimeSignatureEvent(e)) {
            const uint32_t oldTick = e.time;
            const uint32_t newTick = m_sequence->GetMeasureStartTick(e.measure);
            e.time = newTick;
            const size_t moved = MoveEventToSortedPlace(*m_sequence, i, oldTick, newTick);
            if (moved < i) {
                i = moved + 1;
            } else if (moved == i) {
                ++i;
            }
            continue;
        }
        uint32_t measure = 0, beat = 0, tick = 0;
        if (m_sequence->TickToMbt(e.time, measure, beat, tick) != 0) return false;
        e.measure = measure;
        e.beat = beat;
        e.tick = tick;
        ++i;
    }
    return true;
}

// ---- Track records ---------------------------------------------------------

bool CUndoManager::ApplyTrack(const CUndoRecord& record)
{
    if (m_ownerKind != kOwnerMidiDocument || !m_owner || !record.track || record.index < 0) return false;
    switch (record.operation) {
    case UndoInsert:
        return m_owner->UndoRemoveTrack(record.index);
    case UndoDelete: {
        std::unique_ptr<CTrackInfo> copy;
        try {
            copy = std::make_unique<CTrackInfo>(*record.track);
        } catch (const std::bad_alloc&) {
            return false;
        }
        if (m_owner->UndoFileFormat() != 1) copy->rawData.clear();
        return m_owner->UndoInsertTrack(record.index, std::move(copy));
    }
    case UndoModify:
        return RestoreTrack(record.index, *record.track);
    default:
        return false;
    }
}

bool CUndoManager::RestoreTrack(int row, const CTrackInfo& snapshot)
{
    CTrackInfo* live = m_owner->UndoTrackRecord(row);
    CMidiParserEx::Track* table = m_sequence ? m_sequence->GetTrack(row + 1) : nullptr;
    if (!live || !table) return false;
    if (m_owner->UndoFileFormat() == 1) {
        try {
            live->rawData = snapshot.rawData;
        } catch (const std::bad_alloc&) {
            return false;
        }
    }
    live->name = snapshot.name;
    live->index = uint32_t(row);
    live->reserved = snapshot.reserved;
    live->hasEvents = snapshot.hasEvents;
    live->play = snapshot.play;
    live->solo = snapshot.solo;
    live->record = snapshot.record;
    live->channel = snapshot.channel;
    live->recordChannel = snapshot.recordChannel;
    live->port = snapshot.port;
    live->bank = snapshot.bank;
    live->program = snapshot.program;
    live->volume = snapshot.volume;
    live->pan = snapshot.pan;
    live->rawLength = snapshot.rawLength;
    live->listedEvents = snapshot.listedEvents;
    live->totalEvents = snapshot.totalEvents;

    // The sequence's tables of the track take the restored values.
    table->channel = live->channel;
    table->port = live->port;
    table->pan = live->pan;
    table->volume = live->volume;
    table->program = live->program;
    table->programSeen = live->program < 0xFF ? 1 : 0;
    table->bankMsb = live->BankMsb();
    table->bankMsbSeen = live->BankMsb() < 0xFF ? 1 : 0;
    table->bankLsb = live->BankLsb();
    table->name = live->name;
    return true;
}

} // namespace zib
