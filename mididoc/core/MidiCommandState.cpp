#include "mididoc/core/MidiCommandState.h"

#include "mididoc/core/MidiCommands.h"
#include "mididoc/core/MidiDocMenu.h"

#include <algorithm>
#include <initializer_list>

namespace zib {

namespace {

using namespace midicmd;

bool oneOf(int command, std::initializer_list<int> ids)
{
    return std::find(ids.begin(), ids.end(), command) != ids.end();
}

MidiCommandUi enabledIf(bool enabled)
{
    return {true, enabled, false, false};
}

// Transport, walk and setup commands that the MIDI window, the whole-file
// editor and the tempo editor share.
bool sharedMidiCommand(int command, const MidiCommandContext& c, MidiCommandUi& ui)
{
    if (command == Play) {
        ui = {true, true, c.playing, c.playing};
        return true;
    }
    if (command == Record) {
        ui = {true, c.recordArmedWithInput, c.recordFlag, c.recordFlag};
        return true;
    }
    if (command == Stop) {
        ui = enabledIf(c.playing);
        return true;
    }
    if (command == SetLoop) {
        ui = {true, !c.recordFlag, c.loopFlag, c.loopFlag};
        return true;
    }
    if (command == EditUndo) {
        ui = enabledIf(c.undoAvailable && !c.playing);
        return true;
    }
    if (command == EditRedo) {
        ui = enabledIf(c.redoAvailable && !c.playing);
        return true;
    }
    if (command == EditItem) {
        ui = enabledIf(!c.playing && c.trackListHasFocusedRow);
        return true;
    }
    if (oneOf(command, {SetTempo, MidiToWqStyle, MidiToQe4kStyle, Instruments, FileSave, FileSaveAs})) {
        ui = enabledIf(true);
        return true;
    }
    if (oneOf(command, {Rewind, GoToEnd, FirstMeasure, LastMeasure, NextMeasure, NextMeasureMenu,
                        PreviousMeasure, PreviousMeasureMenu, GoToFromButton, GoToThruButton, GoToMbt,
                        GoToFrom, GoToThru, SetFrom, SetThru, SetFromThru, FileTextDump, MidiClock,
                        MidiRecordSettings, MetronomSettings, MasterTrack, TimeSigEvents, MarkerEvents,
                        TempoEvents, LyricsEvents, SysexEvents})) {
        ui = enabledIf(!c.playing);
        return true;
    }
    return false;
}

MidiCommandUi filterState(int command, const MidiCommandContext& c)
{
    const bool shown = c.filterShown[size_t(FilterIndex(command))];
    // The menu item is checked while the class shows; the button is pressed while it is hidden.
    return {true, true, shown, !shown};
}

MidiCommandUi midiWindow(int command, const MidiCommandContext& c)
{
    MidiCommandUi ui;
    if (sharedMidiCommand(command, c, ui)) return ui;
    if (oneOf(command, {StartStopPlayback, MidiPortsSettings, EditSelectAll})) return enabledIf(true);
    if (command == Delete) return enabledIf(!c.playing && c.hasTracks);
    if (command == MidiToText) return enabledIf(c.hasTracks);
    if (command == TransposeMidiFile) return enabledIf(c.hasTracks && !c.playing);
    if (command == EditPaste) return enabledIf(!c.playing && c.clipboardHasZib);
    if (oneOf(command, {InsertItem, InsertItemMenu, Properties, RenameTrack, TransposeEvents, ShiftEvents,
                        EditCopy, TrackRecordInput, DeleteFromThru}))
        return enabledIf(!c.playing);
    return {};
}

MidiCommandUi wholeFileEditor(int command, const MidiCommandContext& c)
{
    MidiCommandUi ui;
    if (sharedMidiCommand(command, c, ui)) return ui;
    if (IsFilter(command)) return filterState(command, c);
    if (oneOf(command, {MidiToText, EditSelectAll})) return enabledIf(true);
    if (command == EditCopy) return enabledIf(c.listRowCount > 0 && c.listHasSelection);
    if (command == EditPaste) return enabledIf(!c.playing && c.fileKind == 1 && c.clipboardHasZib);
    if (oneOf(command, {InsertItem, InsertItemMenu, Delete, TransposeEvents, ShiftEvents}))
        return enabledIf(!c.playing);
    return {};
}

MidiCommandUi tempoEditor(int command, const MidiCommandContext& c)
{
    MidiCommandUi ui;
    if (sharedMidiCommand(command, c, ui)) return ui;
    if (oneOf(command, {InsertItem, InsertItemMenu, Properties, ViewTempoButton, ViewTimeSigButton,
                        ViewMarkerButton, ViewAllButton, ViewLyricsButton, ViewSysexButton}))
        return enabledIf(!c.playing);
    if (command == Delete)
        return enabledIf(!c.playing && c.hasTracks && !(c.tempoViewKind == 0 && c.tempoFirstTimeSigSelected));
    if (command == ShiftEvents)
        return enabledIf(!c.playing && c.hasDocument && c.tempoViewKind != 0 && c.tempoViewKind != 5 &&
                         !c.tempoTimeSigOrAllFlag);
    return {};
}

// The pad and style track editors: their lists keep working while MIDI plays;
// only undo and redo wait for the document's own player.
MidiCommandUi trackEditor(int command, const MidiCommandContext& c)
{
    if (IsFilter(command)) return filterState(command, c);
    const bool qe = IsQeModelLetter(c.modelLetter);
    if (command == EditCopy) return enabledIf(c.listRowCount > 0 && qe && c.listHasSelection);
    if (command == EditPaste) return enabledIf((c.fileKind == 5 || c.fileKind == 2) && qe && c.clipboardHasZib);
    if (oneOf(command, {InsertItem, Delete, DumpToText})) return enabledIf(true);
    if (command == EditUndo) return enabledIf(c.undoAvailable && !c.playing);
    if (command == EditRedo) return enabledIf(c.redoAvailable && !c.playing);
    return {};
}

} // namespace

bool TrackListPopupEnabled(int command, bool focusedSelected, bool playing, bool selectedHasEvents)
{
    if (oneOf(command, {Delete, InsertItemMenu, EditItem, TransposeEvents, ShiftEvents}))
        return focusedSelected && !playing;
    if (oneOf(command, {DeleteFromThru, SoloTrack, MutePlayTrack})) return selectedHasEvents;
    return false;
}

MidiCommandUi MidiCommandState(int command, ChildKind frame, const MidiCommandContext& context)
{
    switch (frame) {
    case ChildKind::ChildSplitterMid:
        return midiWindow(command, context);
    case ChildKind::MidiEditEx:
        return wholeFileEditor(command, context);
    case ChildKind::MidiTempoTrackEdit:
        return tempoEditor(command, context);
    case ChildKind::MidiEditPadTrack:
    case ChildKind::MidiEditStyTrack:
        return trackEditor(command, context);
    default:
        return {};
    }
}

} // namespace zib
