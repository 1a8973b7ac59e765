#pragma once

#include <cstddef>

namespace zib {

// A window that shows a MIDI document (the track list, the bar view, the
// event editors) and hears from the document what changed under it.
class CMidDocListener {
public:
    virtual ~CMidDocListener();

    // Painting is held while the undo manager applies a group ...
    virtual void FreezeViews() {}
    // ... and everything is shown again once afterwards (tracksChanged: a
    // track record changed, so its row and the mix flags are shown again)
    virtual void RefreshViews(bool /*tracksChanged*/) {}
    // The master-track editor drops or adds the row of the event at this index
    virtual void MasterEventRemoving(size_t /*index*/) {}
    virtual void MasterEventInserted(size_t /*index*/) {}
    // The time-signature map changed: the bar view rebuilds its bars
    virtual void TimeSignaturesChanged() {}
};

} // namespace zib
