#pragma once

#include "midi/CMidiParserEx.h"
#include "mididoc/core/CTrackInfo.h"

#include <cstddef>
#include <span>

namespace zib {

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
    // The sequence's tables of the row's track (null: none)
    virtual const CMidiParserEx::Track* UndoTrackTable(int /*row*/) { return nullptr; }
    // The file's track count, which a track record carries so that taking a
    // track slot back gives the count the file had
    virtual int UndoFileTrackCount() const { return 0; }
    // Removes the track slot at the row; the file's track count becomes the given one
    virtual bool UndoRemoveTrack(int /*row*/, int /*fileTrackCount*/) { return false; }
    // Inserts a record and the tables of its track (with the chunk's bytes in
    // format 1) at the row; the file's track count becomes the given one
    virtual bool UndoInsertTrack(int /*row*/, const CTrackInfo& /*record*/, const CMidiParserEx::Track& /*table*/,
                                 int /*fileTrackCount*/)
    {
        return false;
    }
    // Restores the record of the row and the sequence's tables of its track
    virtual bool UndoRestoreTrack(int /*row*/, const CTrackInfo& /*record*/, const CMidiParserEx::Track& /*table*/)
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
