#pragma once

#include "mididoc/core/CTrackInfo.h"

#include <cstddef>
#include <span>

namespace zib {

class CMidiParserEx;

// What the undo manager reaches through the document that owns it. The MIDI
// document (owner kind 1) answers everything; a pad or style document (owner
// kind 2) answers only with the sequence of its open track editor and one
// refresh, and the defaults refuse the track operations.
class CUndoOwner {
public:
    virtual ~CUndoOwner();

    // The sequence the records apply to (null: nothing can be applied)
    virtual CMidiParserEx* UndoSequence() = 0;

    // Painting: frozen before a group is applied and always released again
    // afterwards, with the lists refilled (tracksApplied: a track record
    // changed, so the track rows and the mix flags are shown again)
    virtual void UndoFreezeViews() {}
    virtual void UndoRefreshViews(bool /*tracksApplied*/) {}

    // Track records (MIDI document)
    virtual int UndoFileFormat() const { return 0; }
    virtual CTrackInfo* UndoTrackRecord(int /*row*/) { return nullptr; }
    virtual std::span<const uint8_t> UndoTrackRawBytes(int /*row*/) { return {}; }
    // Removes the track slot at the row (the file's track count drops in format 1)
    virtual bool UndoRemoveTrack(int /*row*/) { return false; }
    // Inserts a record made from the snapshot (and its raw bytes) at the row
    // (the file's track count grows in format 1)
    virtual bool UndoInsertTrack(int /*row*/, const CTrackInfo& /*record*/, std::span<const uint8_t> /*raw*/)
    {
        return false;
    }
    // Restores the record of the row and the sequence's tables of its track
    virtual bool UndoRestoreTrack(int /*row*/, const CTrackInfo& /*record*/, std::span<const uint8_t> /*raw*/)
    {
        return false;
    }
    // A track's event counts changed in the sequence (track 1-64)
    virtual void UndoTrackCountsChanged(int /*track*/) {}

    // Master track (MIDI document): the master-track list drops or adds the
    // row of the event at this index; the bar view rebuilds its bars after a
    // time signature changed
    virtual void UndoMasterEventRemoving(size_t /*index*/) {}
    virtual void UndoMasterEventInserted(size_t /*index*/) {}
    virtual void UndoTimeSignaturesChanged() {}
};

} // namespace zib
