#pragma once

#include "mididoc/core/CTrackInfo.h"

#include <cstddef>
#include <memory>

namespace zib {

// What the undo manager reaches through the document that owns it. The MIDI
// document (owner kind 1) answers everything; a pad or style document (owner
// kind 2) only the view hooks, and the defaults refuse the track operations.
class CUndoOwner {
public:
    virtual ~CUndoOwner();

    // Track records (MIDI document)
    virtual int UndoFileFormat() const { return 0; }
    virtual CTrackInfo* UndoTrackRecord(int /*row*/) { return nullptr; }
    // Removes the track slot at the row (the file's track count drops in format 1)
    virtual bool UndoRemoveTrack(int /*row*/) { return false; }
    // Inserts the record as the track slot at the row (the count grows in format 1)
    virtual bool UndoInsertTrack(int /*row*/, std::unique_ptr<CTrackInfo> /*record*/) { return false; }

    // Painting: frozen before a group is applied, refreshed once afterwards
    // (tracksApplied: a track record changed, so the mix flags are re-applied)
    virtual void UndoFreezeViews() {}
    virtual void UndoRefreshViews(bool /*tracksApplied*/) {}

    // Master track (MIDI document): the master-track editor drops or adds the
    // row of the event at this index; the bar view rebuilds its bars after a
    // time signature changed
    virtual void UndoMasterEventRemoving(size_t /*index*/) {}
    virtual void UndoMasterEventInserted(size_t /*index*/) {}
    virtual void UndoTimeSignaturesChanged() {}
};

} // namespace zib
