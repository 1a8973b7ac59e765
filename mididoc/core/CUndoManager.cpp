#include "mididoc/core/CUndoManager.h"

#include "midi/CMidiParserEx.h"
#include "mididoc/core/CUndoOwner.h"
#include "mididoc/core/EventOrderTree.h"
#include "mididoc/core/MidiDocAllocator.h"
#include "mididoc/core/SequenceEdits.h"

#include <algorithm>
#include <limits>
#include <new>

namespace zib {

namespace {

std::unique_ptr<CUndoRecord> newRecord(int32_t target, int32_t operation, uint32_t groupStart, int32_t index,
                                       int32_t secondIndex)
{
    auto record = std::make_unique<CUndoRecord>();
    record->operation = operation;
    record->target = target;
    record->groupStart = groupStart;
    record->index = index;
    record->secondIndex = secondIndex;
    return record;
}

} // namespace

CUndoManager::CUndoManager(const std::atomic<int>& playing) : m_playing(playing) {}

CUndoManager::~CUndoManager()
{
    ClearAll();
}

void CUndoManager::SetOwner(int kind, CUndoOwner* owner)
{
    m_ownerKind = kind;
    m_owner = owner;
}

CMidiParserEx* CUndoManager::Sequence() const
{
    return m_owner ? m_owner->UndoSequence() : nullptr;
}

// ---- Recording -------------------------------------------------------------

int CUndoManager::RecordAction(int32_t target, const CMidiEvent& event, int32_t operation, uint32_t groupStart,
                               int32_t index, int32_t secondIndex, std::shared_ptr<const RetimeStep> retime)
{
    m_redo.clear();
    if (target != UndoTargetEvent && target != UndoTargetMasterEvent) return -1;
    return PushEvent(m_undo, target, event, operation, groupStart, index, secondIndex, std::move(retime));
}

int CUndoManager::RecordSnapshot(int32_t target, EventSnapshot snapshot, int32_t operation, uint32_t groupStart,
                                 int32_t index, int32_t secondIndex, std::shared_ptr<const RetimeStep> retime)
{
    m_redo.clear();
    if (target != UndoTargetEvent && target != UndoTargetMasterEvent) return -1;
    return PushSnapshot(m_undo, target, std::move(snapshot), operation, groupStart, index, secondIndex,
                        std::move(retime));
}

int CUndoManager::RecordTrackAction(const CTrackInfo& track, const CMidiParserEx::Track& table, int32_t operation,
                                    uint32_t groupStart, int32_t index, int32_t secondIndex)
{
    m_redo.clear();
    return PushTrack(m_undo, track, table, operation, groupStart, index, secondIndex);
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

int CUndoManager::PushEvent(Stack& stack, int32_t target, const CMidiEvent& event, int32_t operation,
                            uint32_t groupStart, int32_t index, int32_t secondIndex,
                            std::shared_ptr<const RetimeStep> retime)
{
    EventSnapshot snapshot;
    try {
        if (!EventSnapshot::Take(event, snapshot)) {
            Fail();
            return -1;
        }
    } catch (const std::bad_alloc&) {
        Fail();
        return -1;
    }
    return PushSnapshot(stack, target, std::move(snapshot), operation, groupStart, index, secondIndex,
                        std::move(retime));
}

int CUndoManager::PushSnapshot(Stack& stack, int32_t target, EventSnapshot&& snapshot, int32_t operation,
                               uint32_t groupStart, int32_t index, int32_t secondIndex,
                               std::shared_ptr<const RetimeStep> retime)
{
    try {
        auto record = newRecord(target, operation, groupStart, index, secondIndex);
        record->snapshotSize = uint32_t(sizeof(CMidiEvent) + snapshot.bytes.size());
        record->event = std::move(snapshot);
        if (target == UndoTargetMasterEvent) record->retime = std::move(retime);
        return Push(stack, std::move(record));
    } catch (const std::bad_alloc&) {
        Fail();
        return -1;
    }
}

int CUndoManager::PushTrack(Stack& stack, const CTrackInfo& track, const CMidiParserEx::Track& table,
                            int32_t operation, uint32_t groupStart, int32_t index, int32_t secondIndex)
{
    if (m_ownerKind != kOwnerMidiDocument || !m_owner) {
        Fail();
        return -1;
    }
    try {
        auto record = newRecord(UndoTargetTrack, operation, groupStart, index, secondIndex);
        record->track = std::make_unique<CUndoRecord::TrackSnapshot>();
        record->track->track = track;
        record->track->fileTrackCount = m_owner->UndoFileTrackCount();
        if (!CopyTrackTable(table, *record)) {
            Fail();
            return -1;
        }
        return Push(stack, std::move(record));
    } catch (const std::bad_alloc&) {
        Fail();
        return -1;
    }
}

// The chunk's bytes travel with the record only for a format-1 file; the
// other tables of the track (first values, their present flags, channel,
// port, name, counts) always do, so that Undo gives them back exactly.
bool CUndoManager::CopyTrackTable(const CMidiParserEx::Track& table, CUndoRecord& record) const
{
    const bool keepRaw = m_owner && m_owner->UndoFileFormat() == 1;
    if (!MidiDocAllocator::Object(table.rawBuffer.size())) return false;
    if (!record.track) record.track = std::make_unique<CUndoRecord::TrackSnapshot>();
    record.track->table = table;
    std::vector<uint8_t>& raw = record.track->table.rawBuffer;
    if (!keepRaw) {
        std::vector<uint8_t>().swap(raw);
    } else if (raw.size() > table.rawSize) {
        raw.resize(table.rawSize);
    }
    record.snapshotSize = uint32_t(sizeof(CTrackInfo) + raw.size());
    return true;
}

long CUndoManager::NewestGroupStart(const Stack& stack)
{
    for (size_t i = stack.size(); i-- > 0;)
        if (stack[i]->groupStart) return long(i);
    return -1;
}

// The inverse of a record, made just before the record is applied: a delete
// becomes an insert and the reverse, with the same snapshot; a modify keeps
// its kind and takes the object as it is now, the event (or track record) at
// the second index before an Undo and at the index before a Redo. Made at
// that moment, the snapshot is the object the record's position names even
// when later records of the group moved other objects. Null when it cannot
// be made.
std::unique_ptr<CUndoRecord> CUndoManager::Inverse(const CUndoRecord& r, bool beforeUndo, const CMidiEvent* now)
{
    std::unique_ptr<CUndoRecord> inverse;
    try {
        inverse = newRecord(r.target, r.operation, r.groupStart, r.index, r.secondIndex);
        inverse->retime = r.retime;
        switch (r.operation) {
        case UndoDelete:
        case UndoInsert:
            inverse->operation = r.operation == UndoDelete ? UndoInsert : UndoDelete;
            inverse->event = r.event;
            if (r.track) inverse->track = std::make_unique<CUndoRecord::TrackSnapshot>(*r.track);
            break;
        case UndoModify: {
            const int32_t at = beforeUndo ? r.secondIndex : r.index;
            if (at < 0) return nullptr;
            if (r.target == UndoTargetTrack) {
                const CTrackInfo* record = m_owner ? m_owner->UndoTrackRecord(at) : nullptr;
                const CMidiParserEx::Track* table = m_owner ? m_owner->UndoTrackTable(at) : nullptr;
                if (!record || !table || !CopyTrackTable(*table, *inverse)) return nullptr;
                inverse->track->track = *record;
            } else {
                if (!now) {
                    const CMidiParserEx* sequence = Sequence();
                    now = sequence ? sequence->GetEvent(size_t(at)) : nullptr;
                }
                if (!now || !EventSnapshot::Take(*now, inverse->event)) return nullptr;
            }
            break;
        }
        default:
            return nullptr;
        }
        if (r.target == UndoTargetTrack) {
            if (!inverse->track) return nullptr;
            // Applied, the inverse gives the file the track count it has now.
            inverse->track->fileTrackCount = m_owner ? m_owner->UndoFileTrackCount() : -1;
            inverse->snapshotSize = uint32_t(sizeof(CTrackInfo) + inverse->track->table.rawBuffer.size());
        } else {
            inverse->snapshotSize = uint32_t(sizeof(CMidiEvent) + inverse->event.bytes.size());
        }
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return inverse;
}

// ---- Undo and redo ---------------------------------------------------------

CUndoManager::Outcome CUndoManager::UndoGroup()
{
    return Run(true, false);
}

CUndoManager::Outcome CUndoManager::RedoGroup()
{
    return Run(false, false);
}

bool CUndoManager::RollBackOpenGroup()
{
    if (m_undo.empty() || NewestGroupStart(m_undo) < 0) return false;
    return Run(true, true) == Outcome::Applied;
}

// Undo (undo = true) applies the newest group of the undo stack from the top
// down and moves its inverse to the redo stack; Redo applies the newest group
// of the redo stack in the order the edits were made and moves its inverse
// back. A roll-back is an Undo that keeps no inverse.
CUndoManager::Outcome CUndoManager::Run(bool undo, bool rollBack)
{
    if (!rollBack && m_playing.load() != 0) return Outcome::RefusedWhilePlaying;
    if (!m_enabled) return Outcome::NothingToDo;
    Stack& from = undo ? m_undo : m_redo;
    Stack& to = undo ? m_redo : m_undo;
    const long group = NewestGroupStart(from);
    if (group < 0) {
        Fail();
        return Outcome::NothingToDo;
    }
    if (m_owner) m_owner->UndoFreezeViews();
    m_numbered = false;
    bool trackApplied = false;
    std::vector<std::unique_ptr<CUndoRecord>> inverses;
    bool applied = ApplyRecords(from, size_t(group), undo, trackApplied, rollBack ? nullptr : &inverses);
    if (undo) {
        DiscardLastUndoGroup();
    } else {
        DiscardLastRedoGroup();
    }
    // The inverse group goes onto the other stack in the order of the edits.
    if (applied && !rollBack) {
        if (undo) std::reverse(inverses.begin(), inverses.end());
        for (auto& inverse : inverses)
            if (Push(to, std::move(inverse)) < 0) {
                applied = false;
                break;
            }
    }
    // A group that stopped half way leaves data that no inverse matches.
    if (!applied) Fail();
    if (!applied || !m_numbered) RenumberOwnerEvents();
    if (m_owner) m_owner->UndoRefreshViews(trackApplied);
    return applied ? Outcome::Applied : Outcome::Failed;
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
    if (CMidiParserEx* sequence = Sequence()) sequence->Renumber(0);
}

// ---- Applying records ------------------------------------------------------

// The records from `first` to the top, from the top down on the undo stack
// and from `first` up on the redo stack; runs of event records long enough go
// through the batch pass.
bool CUndoManager::ApplyRecords(const Stack& stack, size_t first, bool fromUndoStack, bool& trackApplied,
                                std::vector<std::unique_ptr<CUndoRecord>>* inverses)
{
    std::vector<const CUndoRecord*> order;
    order.reserve(stack.size() - first);
    if (fromUndoStack) {
        for (size_t i = stack.size(); i-- > first;)
            order.push_back(stack[i].get());
    } else {
        for (size_t i = first; i < stack.size(); ++i)
            order.push_back(stack[i].get());
    }
    std::vector<const CUndoRecord*> run;
    for (size_t i = 0; i < order.size();) {
        if (m_batchThreshold > 0 && order[i]->target == UndoTargetEvent) {
            size_t end = i;
            while (end < order.size() && order[end]->target == UndoTargetEvent)
                ++end;
            if (end - i >= m_batchThreshold) {
                m_numbered = false;
                run.assign(order.begin() + std::ptrdiff_t(i), order.begin() + std::ptrdiff_t(end));
                if (!ApplyEventRun(run, fromUndoStack, inverses)) return false;
                i = end;
                continue;
            }
        }
        if (inverses) {
            auto inverse = Inverse(*order[i], fromUndoStack, nullptr);
            if (!inverse) return false;
            inverses->push_back(std::move(inverse));
        }
        m_numbered = false;
        if (!Apply(*order[i], fromUndoStack, trackApplied)) return false;
        ++i;
    }
    return true;
}

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
    CMidiParserEx* sequence = Sequence();
    if (!sequence || record.index < 0) return false;
    const size_t index = size_t(record.index);
    switch (record.operation) {
    case UndoInsert:
        return RemoveEventAt(index);
    case UndoDelete:
        return InsertEventCopy(index, record.event);
    case UndoModify: {
        if (record.secondIndex < 0) return false;
        const size_t second = size_t(record.secondIndex);
        if (index == second) {
            CMidiEvent* e = sequence->GetEvent(index);
            return e && record.event.RestoreInto(*e);
        }
        return fromUndoStack ? RemoveEventAt(second) && InsertEventCopy(index, record.event)
                             : RemoveEventAt(index) && InsertEventCopy(second, record.event);
    }
    default:
        return false;
    }
}

void CUndoManager::TrackCountsChanged(int track)
{
    if (m_ownerKind == kOwnerMidiDocument && m_owner && track >= 1) m_owner->UndoTrackCountsChanged(track);
}

bool CUndoManager::RemoveEventAt(size_t index)
{
    CMidiParserEx* sequence = Sequence();
    const CMidiEvent* e = sequence->GetEvent(index);
    if (!e) return false;
    const int track = e->track;
    if (sequence->RemoveEvent(index) < 0) return false;
    TrackCountsChanged(track);
    return true;
}

bool CUndoManager::InsertEventCopy(size_t index, const EventSnapshot& snapshot)
{
    CMidiParserEx* sequence = Sequence();
    if (index > sequence->GetEventCount()) return false;
    std::unique_ptr<CMidiEvent> e;
    try {
        e = snapshot.MakeEvent();
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!e) return false;
    const int track = e->track;
    try {
        if (sequence->InsertEvent(index, std::move(e)) < 0) return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    TrackCountsChanged(track);
    return true;
}

// The run applied on an order-statistics tree of the events: every removal
// and insertion changes the tables as RemoveEvent and InsertEvent do, and the
// map keeps the measures up to the smallest last event after a removal, as
// one-by-one removals leave it. On a failure the records before it stay
// applied, as they would one by one.
bool CUndoManager::ApplyEventRun(const std::vector<const CUndoRecord*>& run, bool fromUndoStack,
                                 std::vector<std::unique_ptr<CUndoRecord>>* inverses)
{
    CMidiParserEx* sequence = Sequence();
    if (!sequence) return false;
    EventOrderTree tree(sequence->ReleaseEvents());
    size_t keep = std::numeric_limits<size_t>::max();
    std::vector<uint8_t> touched(CMidiParserEx::kMaxTracks, 0);
    auto removeAt = [&](size_t index) {
        std::unique_ptr<CMidiEvent> e = tree.remove(index);
        if (!e) return false;
        sequence->CountRemovedEvent(*e);
        touched[std::min<size_t>(e->track, CMidiParserEx::kMaxTracks - 1)] = 1;
        if (tree.size() > 0) keep = std::min(keep, size_t(tree.at(tree.size() - 1)->measure) + 1);
        return true;
    };
    auto insertAt = [&](size_t index, const EventSnapshot& snapshot) {
        if (index > tree.size()) return false;
        std::unique_ptr<CMidiEvent> e;
        try {
            e = snapshot.MakeEvent();
        } catch (const std::bad_alloc&) {
            return false;
        }
        if (!e || sequence->CountInsertedEvent(*e) < 0) return false;
        touched[e->track] = 1;
        try {
            tree.insert(index, std::move(e));
        } catch (const std::bad_alloc&) {
            return false;
        }
        return true;
    };

    bool ok = true;
    for (const CUndoRecord* r : run) {
        if (r->index < 0) {
            ok = false;
            break;
        }
        const size_t index = size_t(r->index);
        if (inverses) {
            const int32_t at = fromUndoStack ? r->secondIndex : r->index;
            auto inverse = Inverse(*r, fromUndoStack, r->operation == UndoModify && at >= 0 ? tree.at(size_t(at)) : nullptr);
            if (!inverse) {
                ok = false;
                break;
            }
            inverses->push_back(std::move(inverse));
        }
        if (r->operation == UndoInsert) {
            ok = removeAt(index);
        } else if (r->operation == UndoDelete) {
            ok = insertAt(index, r->event);
        } else if (r->operation == UndoModify && r->secondIndex >= 0) {
            const size_t second = size_t(r->secondIndex);
            if (index == second) {
                CMidiEvent* e = tree.at(index);
                ok = e && r->event.RestoreInto(*e);
            } else if (fromUndoStack) {
                ok = removeAt(second) && insertAt(index, r->event);
            } else {
                ok = removeAt(index) && insertAt(second, r->event);
            }
        } else {
            ok = false;
        }
        if (!ok) break;
    }
    sequence->AdoptEvents(tree.release());
    if (keep != std::numeric_limits<size_t>::max()) sequence->TrimTimeSigMap(keep);
    for (int t = 1; t < CMidiParserEx::kMaxTracks; ++t)
        if (touched[size_t(t)]) TrackCountsChanged(t);
    return ok;
}

// ---- Master-track records --------------------------------------------------

// A record that carries its change of the map (see CUndoRecord::retime):
// Undo takes the event's change back and then the map with the signatures it
// moved; Redo moves them again and then makes the change. Without, a time
// signature changes the map by its rule and the sequence is re-timed.
bool CUndoManager::ApplyMasterEvent(const CUndoRecord& record, bool fromUndoStack)
{
    if (m_ownerKind != kOwnerMidiDocument || !Sequence() || record.index < 0) return false;
    CMidiParserEx& sequence = *Sequence();
    const RetimeStep* step = record.retime.get();
    const bool byRule = step == nullptr;
    if (step && !fromUndoStack && !step->Redo(sequence)) return false;
    const size_t index = size_t(record.index);
    bool ok = false;
    switch (record.operation) {
    case UndoInsert:
        ok = RemoveMasterEvent(index, record.event, byRule);
        break;
    case UndoDelete:
        ok = InsertMasterEvent(index, record.event, byRule);
        break;
    case UndoModify: {
        if (record.secondIndex < 0) return false;
        const size_t second = size_t(record.secondIndex);
        if (step && index == second) {
            // Changed in place, as the edit changed it (taking it out would
            // shorten the map when it is the last event)
            CMidiEvent* e = sequence.GetEvent(index);
            ok = e && record.event.RestoreInto(*e);
            break;
        }
        ok = fromUndoStack ? RemoveMasterEvent(second, record.event, byRule) &&
                                 InsertMasterEvent(index, record.event, byRule)
                           : RemoveMasterEvent(index, record.event, byRule) &&
                                 InsertMasterEvent(second, record.event, byRule);
        break;
    }
    default:
        return false;
    }
    if (!ok || !step) return ok;
    // Undo renumbers in the pass that re-times the events.
    if (fromUndoStack && step->ChangesMap()) {
        if (!step->Undo(sequence)) return false;
    } else {
        sequence.Renumber(0);
    }
    m_numbered = true;
    if (step->ChangesMap()) m_owner->UndoTimeSignaturesChanged();
    return true;
}

// With `byRule` a time signature's measures take the signature before it
// and the sequence is re-timed; without, the event goes as it is (its record
// carries the change of the map).
bool CUndoManager::RemoveMasterEvent(size_t index, const EventSnapshot& snapshot, bool byRule)
{
    CMidiParserEx& sequence = *Sequence();
    CMidiEvent* target = sequence.GetEvent(index);
    if (!target) return false;
    m_owner->UndoMasterEventRemoving(index);
    bool timeSignature = false;
    if (byRule && snapshot.status == 0xFF && snapshot.bytes.size() >= 2 && snapshot.bytes[1] == 0x58) {
        timeSignature = true;
        // The signature before this one takes its measures, up to the next signature.
        const uint32_t measure = target->measure;
        uint8_t numerator = 4, denominator = 4;
        for (size_t i = index; i-- > 0;) {
            const uint32_t m = sequence.GetEvent(i)->measure;
            if (m != measure) {
                numerator = sequence.GetNumeratorAtMeasure(m);
                denominator = sequence.GetDenominatorAtMeasure(m);
                break;
            }
        }
        const int32_t end = NextTimeSignatureMeasure(sequence, index + 1);
        sequence.SetTimeSignature(int32_t(measure), numerator, denominator, end);
        if (!RetimeSequence(sequence)) return false;
        // Re-timing may have moved the event.
        index = sequence.GetEventCount();
        for (size_t i = 0; i < sequence.GetEventCount(); ++i)
            if (sequence.GetEvent(i) == target) index = i;
        if (index == sequence.GetEventCount()) return false;
    }
    if (sequence.RemoveEvent(index) < 0) return false;
    // Without the rule the caller renumbers once its step is applied.
    if (byRule) sequence.Renumber(0);
    if (timeSignature) m_owner->UndoTimeSignaturesChanged();
    return true;
}

// With `byRule` a time signature sets its measures up to the next signature
// and the sequence is re-timed; without, the event comes back as it is.
bool CUndoManager::InsertMasterEvent(size_t index, const EventSnapshot& snapshot, bool byRule)
{
    CMidiParserEx& sequence = *Sequence();
    if (index > sequence.GetEventCount()) return false;
    std::unique_ptr<CMidiEvent> e;
    try {
        e = snapshot.MakeEvent();
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!e) return false;
    uint8_t numerator = 0, denominator = 0;
    const bool timeSignature = byRule && TimeSignatureOf(*e, numerator, denominator);
    if (timeSignature) {
        const int32_t end = NextTimeSignatureMeasure(sequence, index);
        sequence.SetTimeSignature(int32_t(snapshot.measure), numerator, denominator, end);
        if (!RetimeSequence(sequence)) return false;
    }
    try {
        if (sequence.InsertEvent(index, std::move(e)) < 0) return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (size_t i = 0; i < sequence.GetEventCount(); ++i)
        sequence.GetEvent(i)->index = uint32_t(i);
    m_owner->UndoMasterEventInserted(index);
    if (timeSignature) m_owner->UndoTimeSignaturesChanged();
    return true;
}

// ---- Track records ---------------------------------------------------------

bool CUndoManager::ApplyTrack(const CUndoRecord& record)
{
    if (m_ownerKind != kOwnerMidiDocument || !m_owner || !record.track || record.index < 0 || record.index >= 64)
        return false;
    const CUndoRecord::TrackSnapshot& track = *record.track;
    switch (record.operation) {
    case UndoInsert:
        return m_owner->UndoRemoveTrack(record.index, track.fileTrackCount);
    case UndoDelete:
        return m_owner->UndoInsertTrack(record.index, track.track, track.table, track.fileTrackCount);
    case UndoModify:
        return m_owner->UndoRestoreTrack(record.index, track.track, track.table);
    default:
        return false;
    }
}

} // namespace zib
