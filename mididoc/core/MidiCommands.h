#pragma once

#include "ui/core/CommandIds.h"

namespace zib::midicmd {

// Command numbers of the MIDI windows: the MIDI window, the event editors and
// the tempo-track editor (menus 117 and 225, the MIDI bars and the MidiDoc bar).

// File
inline constexpr int FileClose = cmd::FileClose;
inline constexpr int FileSave = cmd::FileSave;
inline constexpr int FileSaveAs = cmd::FileSaveAs;

// Edit
inline constexpr int EditCopy = cmd::EditCopy;
inline constexpr int EditPaste = cmd::EditPaste;
inline constexpr int EditSelectAll = 57642;
inline constexpr int EditUndo = 57643;
inline constexpr int EditRedo = 57644;
inline constexpr int EditItem = 32840;
inline constexpr int InsertItem = 32868;     // "Insert item" (toolbar)
inline constexpr int InsertItemMenu = 32933; // "&Insert Item"
inline constexpr int Delete = 32777;
inline constexpr int Properties = 32785;
inline constexpr int RenameTrack = 32779;
inline constexpr int TransposeEvents = 32963;
inline constexpr int ShiftEvents = 32964;

// Filters of the event lists
using cmd::ChannelAftertouchEvents;
using cmd::ControlEvents;
using cmd::KeyPressureEvents;
using cmd::NoteEvents;
using cmd::PitchWheelEvents;
using cmd::ProgChangeEvents;
using cmd::TextEvents;
inline constexpr int kFilterCount = 7;
constexpr bool IsFilter(int id) { return id >= NoteEvents && id <= TextEvents; }
constexpr int FilterIndex(int id) { return id - NoteEvents; }

// Master track views (menu) and their tool buttons
inline constexpr int MasterTrack = 32945;      // view 5, all events
inline constexpr int TimeSigEvents = 32935;    // view 0
inline constexpr int MarkerEvents = 32934;     // view 1
inline constexpr int TempoEvents = 32938;      // view 2
inline constexpr int LyricsEvents = 32949;     // view 3
inline constexpr int SysexEvents = 32950;      // view 4
inline constexpr int ViewTempoButton = 32942;  // view 2
inline constexpr int ViewTimeSigButton = 32943; // view 0
inline constexpr int ViewMarkerButton = 32944; // view 1
inline constexpr int ViewAllButton = 32946;    // view 5
inline constexpr int ViewLyricsButton = 32947; // view 3
inline constexpr int ViewSysexButton = 32948;  // view 4

// Playback and walk
inline constexpr int Play = cmd::MidiPlay;
inline constexpr int Stop = 32911;
inline constexpr int Record = cmd::MidiRecord;
inline constexpr int Rewind = 32914;
inline constexpr int GoToEnd = 32913;
inline constexpr int FirstMeasure = 32959;
inline constexpr int LastMeasure = 32960;
using cmd::NextMeasure;
inline constexpr int NextMeasureMenu = 32954;
using cmd::PreviousMeasure;
inline constexpr int PreviousMeasureMenu = 32955;
using cmd::GoToFromButton;
using cmd::GoToThruButton;
inline constexpr int GoToMbt = 32953;
inline constexpr int GoToFrom = 32956;
inline constexpr int GoToThru = 32957;
using cmd::SetFrom;
using cmd::SetThru;
using cmd::SetLoop;
using cmd::SetTempo;
inline constexpr int SetFromThru = 32962;
inline constexpr int StartStopPlayback = 32784;

// Utils and setup
inline constexpr int FileTextDump = cmd::FileTextDump;
inline constexpr int MidiToText = cmd::MidiToText;
inline constexpr int DumpToText = 32812; // pad and style track editors
inline constexpr int MidiClock = 32940;
inline constexpr int MidiToWqStyle = cmd::MidiToWqStyle;
inline constexpr int MidiToQe4kStyle = cmd::MidiToQe4kStyle;
inline constexpr int TrackRecordInput = 32965;
inline constexpr int MidiRecordSettings = 32968;
inline constexpr int MetronomSettings = 32969;
inline constexpr int Instruments = cmd::Instruments;
inline constexpr int MidiPortsSettings = cmd::MidiPortsSettings;

} // namespace zib::midicmd
