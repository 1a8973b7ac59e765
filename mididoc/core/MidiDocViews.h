#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace zib {

// What the MIDI document core asks of the windows that show it: the track
// list, the bar view, the event editors, the master-track editor and the text
// viewer. Every hook does nothing (and reports success) here; the window
// issue's document adapter overrides them, a test stubs only what it checks.
class MidiDocViews {
public:
    virtual ~MidiDocViews();

    // Opening: the track list fills its rows and the bar view its bars;
    // false when the bar view cannot show the file
    virtual bool ShowDocument() { return true; }
    // The event lists and the master-track list refill their rows
    virtual void Refill() {}
    // Track list, bar view and open editors repaint
    virtual void Redraw() {}
    // Painting held while a command or an undo group runs, then released
    virtual void Freeze() {}
    virtual void Thaw() {}
    // The track rows show their records' record, solo and play flags again
    virtual void TrackRowsChanged() {}
    // The bar view rebuilds its bars (the time-signature map changed)
    virtual void RebuildBarList() {}
    // The master-track list inserts or removes the row of the event at this index
    virtual void InsertMasterRow(size_t /*eventIndex*/) {}
    virtual void RemoveMasterRow(size_t /*eventIndex*/) {}
    // The bar view goes to a position (ticks)
    virtual void GoToPosition(uint32_t /*tick*/) {}
    // The event editor and the master-track editor close
    virtual void CloseEditors() {}
    // The document's text viewer closes
    virtual void CloseViewer() {}
    // A text viewer of the document shows the file; false when it cannot be made
    virtual bool OpenViewer(std::string_view /*titlePrefix*/, const std::filesystem::path& /*file*/)
    {
        return true;
    }
    // The application opens a document (a converted style)
    virtual bool OpenDocument(const std::filesystem::path& /*file*/) { return true; }
};

// The views that do nothing.
MidiDocViews& NoViews();

} // namespace zib
