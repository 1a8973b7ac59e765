#pragma once

// Command ids of the style document's utility commands, the style and pad
// edit frames, their trees and the STS tree (cmd::ToWxId gives the window id).
namespace zib::stycmd {

// Utilities of the style list
inline constexpr int StartStopPlayback = 32784; // "&Start/Stop MIDI Playback"
inline constexpr int StyleToText = 32797;       // "Style To Text", popup "Convert style To &Text"
inline constexpr int TextDump = 32798;          // "&Text Dump"
inline constexpr int ItemsReport = 32800;       // "Item list report"
inline constexpr int CleanStyleEvents = 32801;  // "&Clean style events"
inline constexpr int ConvertQeToWq = 32802;     // "Convert Qe-style to Wq-style"
inline constexpr int StyleToMidi = 32803;       // "Style To MIDI", popup "Convert style to MIDI"
inline constexpr int DumpToText = 32812;        // toolbar "Dump To Text"
inline constexpr int ExtractAll = 32820;        // "E&xtract All Items"

// The edit frames (menu 233) and the trees' popups
inline constexpr int WqCvParameters = 32806;  // "Wq-series CV Parameters" / "CV Parameters"
inline constexpr int PlayCv = 32807;          // "Play CV as MIDI"
inline constexpr int PlayTrack = 32816;       // "Play Track as MIDI"
inline constexpr int ChordTable = 32827;      // "QE Chord Table" / "Chord Table"
inline constexpr int Ntt = 32828;             // "QE NTT" / "&NTT"
inline constexpr int TrackInfo = 32829;       // "QE Track Info" / "Track Info"
inline constexpr int EditItem = 32840;        // "Edit Item"
inline constexpr int EditTrackEvents = 32848; // "Edit Track MIDI events"
inline constexpr int StyleFlags = 32870;      // "QE Style Flags"
inline constexpr int WqStyleProperties = 32871;
inline constexpr int WqChordTable = 32872;
inline constexpr int SetKeyChord = 32875;     // "Set Key-Chord values"
inline constexpr int AddCv = 32901;           // "Add CV"
inline constexpr int DeleteCv = 32905;        // "Delete" of the CV popup
inline constexpr int DeleteElement = 32906;   // "Delete " of the element popup
inline constexpr int DeleteTrack = 32907;     // "Delete" of the track popup
// Level buttons 291-294: root, element, CV and track level
inline constexpr int LevelRoot = 291;
inline constexpr int LevelTrack = 294;

} // namespace zib::stycmd
