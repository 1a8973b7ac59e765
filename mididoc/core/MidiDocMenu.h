#pragma once

#include "ui/core/MenuModel.h"
#include "mididoc/core/MidiCommands.h"

namespace zib {

// The document menu of MIDI windows (117): File, Edit, View, Filter,
// Playback, Walk, Utils, Setup, Window and Help. The MIDI window, the
// whole-file editor and the tempo-track editor share it.
MenuBarDef MidiDocMenuDef();

// The menu of the pad-track and style-track editors (225): File, Edit, View,
// Filter with six items (Text Events only on the button), Setup, Window, Help.
MenuBarDef TrackEditorMenuDef();

// Context menus: an event list's "EDIT EVENT" (115), the track list's (231)
// and the note-name alphabets of an event list's column header (282).
std::vector<MenuItemDef> EditEventPopupDef();
std::vector<MenuItemDef> TrackListPopupDef();
std::vector<MenuItemDef> KeyAlphabetPopupDef();

// Command numbers of the track list's context menu and the alphabets.
namespace midicmd {
inline constexpr int EditCut = cmd::EditCut;
inline constexpr int DeleteFromThru = 32961;
inline constexpr int TransposeMidiFile = 32791;
inline constexpr int MutePlayTrack = 32970;
inline constexpr int SoloTrack = 32971;
inline constexpr int UnSoloTrack = 32972;
inline constexpr int PlayMidiFile = 32973;
inline constexpr int KeyAlphabetFirst = 32986; // English; 32986-32991 alphabets 0-5
inline constexpr int KeyAlphabetCount = 6;
} // namespace midicmd

} // namespace zib
