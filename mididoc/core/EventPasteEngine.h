#pragma once

#include "mididoc/core/EditResult.h"
#include "mididoc/core/MidiDocDialogs.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace zib {

class CMidiEvent;
class CMidiParserEx;
class CUndoManager;
class EventClipboardBlock;
class EventClipboardSupplement;
class MidiDocModel;

// The one paste of event clipboard blocks, for the three places that paste:
//   Document   the MIDI document's From-Thru paste into its tracks
//   WholeList  the whole-file event list (a block without track headers fails)
//   TrackList  a pad-track or style-track list: every event goes to the start
//              track on its channel; no time signatures, no track headers
// The block has been read and checked whole before; the choices are the paste
// dialog's. A block copied in a song of another division has its times and
// note lengths scaled to this one's. Events go after the events of their time
// (an order-statistics tree keeps a large paste at O(k log n)); a pasted note
// gets its own note-off, the one it was copied with when the supplement holds
// it; a time signature moves to its measure start and changes the map.
// Every change is recorded in the undo manager, the first record opening the
// group. A failure half way (no memory, a track setter that fails) takes the
// group back, so the document is as before.
class EventPasteEngine {
public:
    enum class Mode { Document, WholeList, TrackList };

    // `doc` is the MIDI document (its track records and setters) for the
    // Document and WholeList modes, null for a track list
    EventPasteEngine(Mode mode, CMidiParserEx& sequence, CUndoManager& undo, MidiDocModel* doc);

    // Done when something was pasted, Nothing when the filters left nothing,
    // Failed when the paste was refused or taken back
    EditResult Paste(const EventClipboardBlock& block, const EventClipboardSupplement& supplement,
                     const PasteDlgValues& choice);

    size_t PastedEvents() const { return m_pasted; }
    // Whether the time-signature map changed (the bar view rebuilds its bars)
    bool TimeSignaturesChanged() const { return m_mapChanged; }

private:
    class Placement;

    bool PlaceTimeSignature(Placement& place, std::unique_ptr<CMidiEvent> e, uint32_t& groupStart);
    void TakeChannel(int track, uint8_t channel);
    // Before the paste first changes a track's record or tables: the track
    // as it was goes into the group, so that Undo gives it back whole
    void RecordTrackOnce(int track, uint32_t& groupStart);
    bool ApplyHeaders(const EventClipboardBlock& block, const PasteDlgValues& choice, int lowest,
                      uint32_t& groupStart);

    Mode m_mode;
    CMidiParserEx& m_sequence;
    CUndoManager& m_undo;
    MidiDocModel* m_doc;
    std::array<uint8_t, 65> m_hadEvents{};
    std::array<uint8_t, 65> m_trackRecorded{};
    size_t m_pasted = 0;
    bool m_mapChanged = false;
};

} // namespace zib
