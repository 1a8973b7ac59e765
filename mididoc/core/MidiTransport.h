#pragma once

#include "mididoc/core/MidiPositionTarget.h"

#include <cstdint>
#include <vector>

namespace zib {

struct MetronomeSettings;

// The player of a MIDI window as its frames and editors drive it: the
// transport and walk commands, the From and Thru markers, the metronome and
// the texts of the MIDI bars. The bar view beside the track list provides
// it; without one the commands do nothing.
class MidiTransport : public MidiPositionTarget {
public:
    // Fills from the document; false when the song cannot be shown (the open ends)
    virtual bool Populate() = 0;
    // The bar list again, after edits of the document
    virtual void Rebuild() = 0;

    // Transport
    virtual void PlayToggle() = 0;
    virtual void Stop() = 0;
    virtual void Record() = 0;
    virtual void ToggleLoop() = 0;
    virtual void Rewind() = 0;
    virtual void GoToEnd() = 0;
    virtual void NextBar() = 0;
    virtual void PrevBar() = 0;
    virtual void GoToFrom() = 0;
    virtual void GoToThru() = 0;
    virtual void SetFromAtPosition() = 0;
    // Thru at the exact position (event editors), or at the end of the previous bar (MIDI window)
    virtual void SetThruAtPosition(bool exact) = 0;
    // The bar view goes to an event of the sequence and selects its row
    virtual void GoToEvent(int64_t index) = 0;

    // The metronome of the player (edited by the metronome dialog)
    virtual MetronomeSettings& Metronome() = 0;

    // The MIDI bars show this window's position, markers, tempo and loop switch
    virtual void ShowTexts() = 0;
    // The song's tempo events were edited: the tempo field shows the tempo at the position
    virtual void TempoTrackChanged() = 0;

    // The track list: a play, solo or record switch changed (also while
    // playing); a volume or pan set while playing goes out at once (row 0..63)
    virtual void TrackSwitchesChanged() = 0;
    virtual void SendLiveValue(int row, bool volume, uint8_t value) = 0;
    // The document's tracks or their events changed (a track inserted or
    // deleted, an edit): each row shows its track's content and selection again
    virtual void TracksChanged() = 0;
    // A double click on the track list: the grid selects the same rows and
    // takes the hit row; an unset Thru goes to the end of the song
    virtual void SelectRows(const std::vector<int>& rows, int hitRow) = 0;
    // The grid's rows follow the list's scrolling and navigation keys
    virtual void ScrollRowsTo(int topRow) = 0;
    virtual void PassKey(int keyCode) = 0;
};

} // namespace zib
