#pragma once

#include "midi/CMidiEvent.h"
#include "mididoc/core/CTrackInfo.h"

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

// One recorded action of an undo or redo stack, with a self-contained copy
// of the object it touched: an event with its raw bytes, or a track record
// (with its raw data when the file is format 1).
class CUndoRecord {
public:
    CUndoRecord() = default;
    virtual ~CUndoRecord();

    int32_t operation = -1;
    int32_t target = -1;
    uint32_t groupStart = 0; // non-zero on the first record of a group
    int32_t index = -1;      // event position or track row before the edit
    int32_t secondIndex = -1; // a modify's position after the edit; -1 when not used

    // The snapshot: one of the two, by target
    std::unique_ptr<CMidiEvent> event;
    std::unique_ptr<CTrackInfo> track;
    uint32_t snapshotSize = 0; // bytes the snapshot holds (record plus raw bytes)
};

} // namespace zib
