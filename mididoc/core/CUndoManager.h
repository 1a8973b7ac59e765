#pragma once

#include "mididoc/core/CUndoRecord.h"
#include "mididoc/core/PlayingFlag.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace zib {

class CMidiEvent;
class CUndoOwner;

// The undo and redo stacks of a MIDI, pad or style document. An edit command
// records every change before it applies it; the first record of a command
// opens a group (groupStart 1), and Undo and Redo work on whole groups. Undo
// and Redo first push the inverse of the group onto the other stack, then
// apply it, renumber the owner's events and refresh the owner's views (the
// views are released again on every way out).
//
// How callers fill the indexes:
//   insert  index = the new object's position; secondIndex -1 (or the same);
//           the snapshot is the inserted object
//   delete  index = the position it had; secondIndex the same or -1; recorded
//           before the object goes
//   modify  the object before the change; index its position before,
//           secondIndex its position after (the same when it did not move)
//
// Any failure (no memory, nothing to undo, a record that cannot be applied,
// an index outside the array or the rows) clears both stacks and disables
// the manager; it records again from the next record that opens a group.
// Undo and Redo are refused while the owner's playing flag is set.
//
// A long run of event records is applied in one pass through an order
// statistics tree, so a group of k records costs O((n + k) log n); the result
// equals applying the records one by one.
class CUndoManager {
public:
    // Owner kinds
    static constexpr int kOwnerMidiDocument = 1;
    static constexpr int kOwnerPadOrStyle = 2;
    // Event records in a row from which the batch pass is used
    static constexpr size_t kDefaultBatchThreshold = 64;

    // How an Undo or Redo ended
    enum class Outcome { Applied, Failed, NothingToDo, RefusedWhilePlaying };

    explicit CUndoManager(const std::atomic<int>& playing = NotPlaying());
    ~CUndoManager();
    CUndoManager(const CUndoManager&) = delete;
    CUndoManager& operator=(const CUndoManager&) = delete;

    // Set by the owner: its kind and itself
    void SetOwner(int kind, CUndoOwner* owner);
    int OwnerKind() const { return m_ownerKind; }

    // Recording. Each clears the redo stack and returns the record's position
    // on the undo stack, -1 when nothing was recorded. RecordAction takes
    // target 0 or 1 (the recorder of the player calls it too, one group per
    // take); RecordTrackAction serves the MIDI document only and takes the
    // sequence's tables of the track as they are before the change (the
    // chunk's bytes are kept for a format-1 file) and the file's track count.
    // A master-track record may carry the change of the time-signature map
    // that came just before its own change (see CUndoRecord::retime).
    int RecordAction(int32_t target, const CMidiEvent& event, int32_t operation, uint32_t groupStart, int32_t index,
                     int32_t secondIndex, std::shared_ptr<const RetimeStep> retime = {});
    // As RecordAction, with a snapshot taken before a change that moved the event
    int RecordSnapshot(int32_t target, EventSnapshot snapshot, int32_t operation, uint32_t groupStart, int32_t index,
                       int32_t secondIndex, std::shared_ptr<const RetimeStep> retime = {});
    int RecordTrackAction(const CTrackInfo& track, const CMidiParserEx::Track& table, int32_t operation,
                          uint32_t groupStart, int32_t index, int32_t secondIndex);

    // Undo and redo one group: non-zero when the group was applied
    int Undo() { return UndoGroup() == Outcome::Applied ? 1 : 0; }
    int Redo() { return RedoGroup() == Outcome::Applied ? 1 : 0; }
    Outcome UndoGroup();
    Outcome RedoGroup();
    // Takes back the group being recorded (a command that failed half way):
    // it is applied as Undo applies it and kept on neither stack. False when
    // the group is no longer there (a failed recording dropped it).
    bool RollBackOpenGroup();

    // Dropping records
    void ClearAll();
    void DiscardLastUndoGroup();
    void DiscardLastRedoGroup();

    // State
    size_t UndoCount() const { return m_undo.size(); }
    size_t RedoCount() const { return m_redo.size(); }
    bool CanUndo() const { return !m_undo.empty(); }
    bool CanRedo() const { return !m_redo.empty(); }
    bool IsEnabled() const { return m_enabled != 0; }
    const CUndoRecord* UndoRecordAt(size_t i) const { return i < m_undo.size() ? m_undo[i].get() : nullptr; }
    const CUndoRecord* RedoRecordAt(size_t i) const { return i < m_redo.size() ? m_redo[i].get() : nullptr; }

    // Runs of at least this many event records are applied in one pass (0: never)
    void SetBatchThreshold(size_t records) { m_batchThreshold = records; }

private:
    using Stack = std::vector<std::unique_ptr<CUndoRecord>>;

    // Recording and the inverse records
    int PushEvent(Stack& stack, int32_t target, const CMidiEvent& event, int32_t operation, uint32_t groupStart,
                  int32_t index, int32_t secondIndex, std::shared_ptr<const RetimeStep> retime);
    int PushSnapshot(Stack& stack, int32_t target, EventSnapshot&& snapshot, int32_t operation,
                     uint32_t groupStart, int32_t index, int32_t secondIndex, std::shared_ptr<const RetimeStep> retime);
    int PushTrack(Stack& stack, const CTrackInfo& track, const CMidiParserEx::Track& table, int32_t operation,
                  uint32_t groupStart, int32_t index, int32_t secondIndex);
    // A copy of a track's tables for a record: the chunk's bytes only in format 1
    bool CopyTrackTable(const CMidiParserEx::Track& table, CUndoRecord& record) const;
    int Push(Stack& stack, std::unique_ptr<CUndoRecord> record);
    std::unique_ptr<CUndoRecord> Inverse(const CUndoRecord& record, bool beforeUndo, const CMidiEvent* now);
    static long NewestGroupStart(const Stack& stack);
    void Fail();
    Outcome Run(bool undo, bool rollBack);

    // Applying records
    bool ApplyRecords(const Stack& stack, size_t first, bool fromUndoStack, bool& trackApplied,
                      std::vector<std::unique_ptr<CUndoRecord>>* inverses);
    bool Apply(const CUndoRecord& record, bool fromUndoStack, bool& trackApplied);
    bool ApplyEvent(const CUndoRecord& record, bool fromUndoStack);
    bool ApplyEventRun(const std::vector<const CUndoRecord*>& run, bool fromUndoStack,
                       std::vector<std::unique_ptr<CUndoRecord>>* inverses);
    bool ApplyMasterEvent(const CUndoRecord& record, bool fromUndoStack);
    bool ApplyTrack(const CUndoRecord& record);
    bool RemoveEventAt(size_t index);
    bool InsertEventCopy(size_t index, const EventSnapshot& snapshot);
    bool RemoveMasterEvent(size_t index, const EventSnapshot& snapshot, bool byRule);
    bool InsertMasterEvent(size_t index, const EventSnapshot& snapshot, bool byRule);
    void TrackCountsChanged(int track);
    void RenumberOwnerEvents();
    CMidiParserEx* Sequence() const;

    const std::atomic<int>& m_playing;
    uint32_t m_enabled = 1;
    Stack m_undo;
    Stack m_redo;
    int m_ownerKind = 0;
    CUndoOwner* m_owner = nullptr;
    size_t m_batchThreshold = kDefaultBatchThreshold;
    bool m_numbered = false; // the last record applied left the owner's events renumbered
};

} // namespace zib
