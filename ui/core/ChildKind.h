#pragma once

namespace zib {

// The kind of an MDI child window of the main frame. The frame chooses its
// toolbars, status texts and toolbar places by the kind of the active child;
// each child frame class reports its own kind.
enum class ChildKind {
    None,               // no active child
    ChildFrame,         // generic frame, no template uses it
    ChildSty,           // style documents
    ChildPcg,           // program documents
    ChildPrf,           // performance documents
    ChildPad,           // pad documents
    ChildArr,           // arrangement documents
    ChildGbl,           // global-data documents
    ChildArg,           // arrangement-global documents
    ChildSplitterMid,   // MIDI documents
    StyPropSplitter,    // style property frame
    PadPropSplitter,    // pad property frame
    MidiEditStyTrack,   // style-track event editor
    MidiEditPadTrack,   // pad-track event editor
    MidiEditEx,         // whole-file event editor
    MidiTempoTrackEdit, // tempo-track editor
    TextViewer,         // text viewer (its MIDI-window flag decides how it counts)
    PlayMidiFile,       // built-in player window
    Other,              // a child of no recognised class
};

} // namespace zib
