#pragma once

#include "mididoc/core/CUndoRecord.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace zib {

class CMidiParserEx;
class CUndoOwner;

// The undo and redo stacks of a MIDI, pad or style document. An edit command
// records every change before it applies it; the first record of a command
// opens a group (groupStart 1), and Undo and Redo work on whole groups. Undo
// and Redo first push the inverse of the group onto the other stack, then
// apply it, renumber the owner's events and refresh the owner's views.
//
// How callers fill the indexes:
//   insert  index = the new object's position; secondIndex -1 (or the same);
//           the snapshot is the inserted object
//   delete  index = the position it had; secondIndex the same or -1; recorded
//           before the object goes
//   modify  the object before the change; index its position before,
//           secondIndex its position after (the same when it did not move)
//
// Any failure (no memory, nothing to undo, a record that cannot be applied)
// clears both stacks and disables the manager; it records again from the
// next record that opens a group.
class CUndoManager {
public:
    // Owner kinds
    static constexpr int kOwnerMidiDocument = 1;
    static constexpr int kOwnerPadOrStyle = 2;

    CUndoManager();
    ~CUndoManager();
    CUndoManager(const CUndoManager&) = delete;
    CUndoManager& operator=(const CUndoManager&) = delete;

    // Set by the owner: its kind and itself, and the sequence whose events it
    // edits (a pad or style document: the bound track editor's sequence, or null)
    void SetOwner(int kind, CUndoOwner* owner);
    void SetSequence(CMidiParserEx* sequence) { m_sequence = sequence; }
    int OwnerKind() const { return m_ownerKind; }
    CMidiParserEx* Sequence() const { return m_sequence; }

    // Recording. Each clears the redo stack and returns the record's position
    // on the undo stack, -1 when nothing was recorded. RecordAction takes
    // target 0 or 1; RecordTrackAction only serves the MIDI document.
    int RecordAction(UndoTarget target, const CMidiEvent& event, UndoOperation operation, uint32_t groupStart,
                     int32_t index, int32_t secondIndex);
    int RecordTrackAction(const CTrackInfo& track, UndoOperation operation, uint32_t groupStart, int32_t index,
                          int32_t secondIndex);

    // Undo and redo one group: non-zero when the group was applied
    int Undo();
    int Redo();

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

private:
    using Stack = std::vector<std::unique_ptr<CUndoRecord>>;

    // Recording and the inverse records
    int PushEvent(Stack& stack, UndoTarget target, const CMidiEvent& event, UndoOperation operation,
                  uint32_t groupStart, int32_t index, int32_t secondIndex);
    int PushTrack(Stack& stack, const CTrackInfo& track, UndoOperation operation, uint32_t groupStart,
                  int32_t index, int32_t secondIndex);
    int Push(Stack& stack, std::unique_ptr<CUndoRecord> record);
    bool PushInverseGroup(const Stack& from, size_t groupStart, Stack& to, bool beforeUndo);
    static long NewestGroupStart(const Stack& stack);
    void Fail();

    // Applying one record
    bool Apply(const CUndoRecord& record, bool fromUndoStack, bool& trackApplied);
    bool ApplyEvent(const CUndoRecord& record, bool fromUndoStack);
    bool ApplyMasterEvent(const CUndoRecord& record, bool fromUndoStack);
    bool ApplyTrack(const CUndoRecord& record);
    bool RemoveEventAt(size_t index);
    bool InsertEventCopy(size_t index, const CMidiEvent& snapshot);
    bool RestoreEvent(size_t index, const CMidiEvent& snapshot);
    bool RemoveMasterEvent(size_t index, const CMidiEvent& snapshot);
    bool InsertMasterEvent(size_t index, const CMidiEvent& snapshot);
    bool RetimeSequence();
    bool RestoreTrack(int row, const CTrackInfo& snapshot);
    void TakeTrackCounts(int track);
    void RenumberOwnerEvents();

    uint32_t m_enabled = 1;
    Stack m_undo;
    Stack m_redo;
    CMidiParserEx* m_sequence = nullptr;
    int m_ownerKind = 0;
    CUndoOwner* m_owner = nullptr;
};

} // namespace zib
