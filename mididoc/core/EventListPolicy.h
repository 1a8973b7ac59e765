#pragma once

#include "mididoc/core/EventTexts.h"

#include <cstdint>

namespace zib {

// What differs between the four event lists: the whole-file list of a MIDI
// document, the pad-track list, and the style-track list of a Qe-series and
// of a Wq-series style. One list model serves all four; it asks this policy
// wherever they part.
struct EventListPolicy {
    enum class Kind { WholeFile, PadTrack, QeStyleTrack, WqStyleTrack };

    Kind kind = Kind::WholeFile;
    uint32_t modelLetter = 0;

    // The policy of a list owned by a document of this kind value (1 MIDI,
    // 5 pad, 2 style) with this model letter
    static EventListPolicy For(uint32_t docKind, uint32_t modelLetter);

    bool WholeFile() const { return kind == Kind::WholeFile; }
    // Model letters 'F' and 'X': the Qe series
    bool QeSeries() const { return modelLetter == 'F' || modelLetter == 'X'; }
    // The rows: the whole-file rule (first values of a track before its first
    // note hidden) or the track rule (first values hidden wherever they stand)
    bool TrackRowRule() const { return kind != Kind::WholeFile; }
    // Note names from the instrument definitions (whole file) or the note-name alphabet
    bool InstrumentNames() const { return kind == Kind::WholeFile; }
    // Copy and paste work (a Wq-series style track has neither)
    bool Clipboard() const;
    // Time edits move the bar view and the master-track list with them
    bool FollowsPlayer() const { return kind == Kind::WholeFile; }
    // Clicks, double clicks and edits are refused while playing (the track
    // lists refuse only their context menu and edits)
    EventTextStyle CellStyle() const { return WholeFile() ? EventTextStyle::WholeList : EventTextStyle::TrackList; }
    EventTextStyle DumpStyle() const
    {
        return WholeFile() ? EventTextStyle::ListDump : EventTextStyle::TrackListDump;
    }
    // The channel of an event created on track t: the whole-file list takes
    // the track record's; a Qe-series track t - 1; a Wq-series style track
    // 8 + t (t clamped to 1-6, DRUM .. ACC3); a pad of another model 0
    uint8_t NewEventChannel(int track, uint8_t recordChannel) const;
};

} // namespace zib
