#pragma once

#include "midi/CMidiParserEx.h"
#include "midi/EventPool.h"
#include "mididoc/core/CTrackInfo.h"
#include "mididoc/core/EventSnapshot.h"
#include "mididoc/core/RetimeStep.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace zib {

// What a recorded action did, seen from the stack that holds it; applying a
// record does the opposite.
enum UndoOperation : int32_t {
    UndoModify = 0,
    UndoInsert = 1,
    UndoDelete = 2,
};

// What a recorded action changed.
enum UndoTarget : int32_t {
    UndoTargetEvent = 0,       // an event of a track sequence
    UndoTargetMasterEvent = 1, // an event of the MIDI document's master (tempo) track
    UndoTargetTrack = 2,       // a track record of the MIDI document
};

// One recorded action of an undo or redo stack, with its snapshot as a value:
// the event with its raw bytes (targets 0 and 1), or the track record with
// its tables (target 2, held apart: a large edit records one event per
// record, and those records stay small). Records live in the event pool, so
// that a group of a million costs no heap call per record.
class CUndoRecord {
public:
    // The snapshot of a track record: the record, the sequence's tables of
    // its track and, for a format-1 file, the raw bytes of its chunk
    struct TrackSnapshot {
        CTrackInfo track;
        CMidiParserEx::Track table; // the chunk's bytes only in format 1
        int32_t fileTrackCount = -1; // the file's track count when the record was made
    };

    CUndoRecord() = default;
    ~CUndoRecord();

    static void* operator new(size_t size) { return EventPool::Allocate(size); }
    static void operator delete(void* block, size_t size) noexcept { EventPool::Free(block, size); }

    int32_t operation = -1;
    int32_t target = -1;
    uint32_t groupStart = 0;  // non-zero on the first record of a group
    int32_t index = -1;       // event position or track row before the edit
    int32_t secondIndex = -1; // a modify's position after the edit; -1 when not used
    uint32_t snapshotSize = 0; // bytes the snapshot holds

    EventSnapshot event;                     // targets 0 and 1
    std::unique_ptr<TrackSnapshot> track; // target 2
    // Target 1: the change of the time-signature map made just before the
    // event's own change, applied exactly in place of re-timing by the
    // signature's rule (none: the rule)
    std::shared_ptr<const RetimeStep> retime;
};

} // namespace zib
