#pragma once

#include "ui/core/ChildKind.h"

#include <array>
#include <cstdint>

namespace zib {

// What the MIDI windows know when they enable their menu items and buttons.
struct MidiCommandContext {
    // The playing flag that guards the window: the application's for the MIDI
    // window, the whole-file and the tempo editors; the owning document's own
    // for the pad and style track editors.
    bool playing = false;
    bool hasDocument = true;
    bool undoAvailable = false; // the undo stack is not empty
    bool redoAvailable = false; // the redo stack is not empty
    bool hasTracks = false;     // the document has its track records
    bool recordFlag = false;    // the document records
    bool loopFlag = false;      // the document loops between From and Thru
    // Some track is armed for recording and has a record input.
    bool recordArmedWithInput = false;
    bool trackListHasFocusedRow = false;
    bool clipboardHasZib = false; // the clipboard offers the program's private format

    // The event list of an editor frame
    int listRowCount = 0; // rows, the trailing row included
    bool listHasSelection = false;
    int fileKind = 1;          // 1 MIDI document, 5 pad document, 2 style document
    uint8_t modelLetter = 0;   // of a pad or style document
    std::array<bool, 7> filterShown{true, true, true, true, true, true, true};

    // The tempo-track editor
    int tempoViewKind = 5;
    bool tempoFirstTimeSigSelected = false; // the selected row is the list's first time signature
    bool tempoTimeSigOrAllFlag = false;     // the time-signature or the all-events show flag is set
};

// How one command shows: enabled, its menu item checked, its tool button pressed.
struct MidiCommandUi {
    bool routed = false; // the window takes the command at all
    bool enabled = false;
    bool checked = false;
    bool pressed = false;
    bool operator==(const MidiCommandUi&) const = default;
};

// The state of `command` in a MIDI window of kind `frame` (ChildSplitterMid,
// MidiEditEx, MidiTempoTrackEdit, MidiEditPadTrack or MidiEditStyTrack).
// While MIDI plays, the commands that change the event array (Redo included)
// and the tempo editor's Properties and Delete are greyed, since the player
// reads the array without a lock. A command the window does not route is
// neither routed nor enabled.
MidiCommandUi MidiCommandState(int command, ChildKind frame, const MidiCommandContext& context);

// Whether an item of the track list's context menu is enabled: the track
// commands with a focused and selected row while MIDI does not play; Delete
// From-Thru, Solo and Mute/Play when a selected track holds events; Un-Solo
// and Play MIDI file never in this menu.
bool TrackListPopupEnabled(int command, bool focusedSelected, bool playing, bool selectedHasEvents);

// True for the model letters of the Qe series, whose pad and style tracks copy
// and paste events.
constexpr bool IsQeModelLetter(uint8_t letter)
{
    return letter == 'F' || letter == 'X';
}

} // namespace zib
