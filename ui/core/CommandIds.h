#pragma once

// Command ids of the program's menus and toolbars: the numbers the program
// knows these commands by. The windowing library takes ids below 0x7FFF only,
// so menus, toolbars and event bindings use ToWxId(number).
namespace zib::cmd {

constexpr int ToWxId(int command)
{
    return command >= 0x8000 ? command - 0x8000 : command;
}
// The program's number of a wx id: ids below 4000 and from 6000 up come from
// the program's commands; 4000-5999 are the library's own (stock, window menu).
constexpr int FromWxId(int id)
{
    return (id >= 0 && id < 4000) || (id >= 6000 && id < 0x8000) ? id + 0x8000 : id;
}

// File menu
inline constexpr int FileNew = 57600;
inline constexpr int FileOpen = 57601;
inline constexpr int FileClose = 57602;
inline constexpr int FileSave = 57603;
inline constexpr int FileSaveAs = 57604;
inline constexpr int FilePrintSetup = 57606;
inline constexpr int FilePrint = 57607;
inline constexpr int FileMruFirst = 57616; // four recent files: 57616 .. 57619
inline constexpr int FileMruCount = 4;
inline constexpr int AppExit = 57665;

// Edit
inline constexpr int EditCopy = 57634;
inline constexpr int EditCut = 57635;
inline constexpr int EditPaste = 57637;

// Help
inline constexpr int AppAbout = 57664;
inline constexpr int HelpFinder = 57667;

// View
inline constexpr int ViewToolbar = 59392;
inline constexpr int ViewStatusBar = 59393;
inline constexpr int LanguageEnglish = 32993;
inline constexpr int LanguageItalian = 32994;
inline constexpr int LanguageGerman = 32995;
inline constexpr int LanguageFrench = 32996;

// Window (document menus)
inline constexpr int WindowClose = 4001; // the MDI frame's own ids
inline constexpr int WindowCloseAll = 4002;
inline constexpr int WindowNext = 4003;
inline constexpr int WindowPrev = 4004;

// Utils and collections
inline constexpr int CollectWqCvMidi = 32808;
inline constexpr int CollectQeCvMidi = 32821;
inline constexpr int ConvertYamahaStyToQeSty = 32874;

// Setup
inline constexpr int TransposeSetting = 32792;
inline constexpr int SortingMethod = 32793;
inline constexpr int KeyboardType = 32799;
inline constexpr int WqConversionSettings = 32815;
inline constexpr int StyToMidiSettings = 32819;
inline constexpr int QeConversionSettings = 32823;
inline constexpr int PlaybackSettings = 32876;
inline constexpr int QeTrackToWqTrackSettings = 32898;
inline constexpr int PsrToQeStySettings = 32900;
inline constexpr int MidiPortsSettings = 32941;
inline constexpr int Instruments = 32951;

// Playback (main menu items of subsystem 8)
inline constexpr int MidiPlay = 32912;
inline constexpr int MidiRecord = 32915;

// MidiDoc toolbar
inline constexpr int MidiToText = 32796;
inline constexpr int FileTextDump = 32789;
inline constexpr int MidiDoc32840 = 32840;
inline constexpr int MidiToWqStyle = 32795;
inline constexpr int MidiToQe4kStyle = 32822;
inline constexpr int MidiDoc32868 = 32868;
inline constexpr int DeleteItems = 32777;
inline constexpr int NoteEvents = 32841;
inline constexpr int KeyPressureEvents = 32842;
inline constexpr int ControlEvents = 32843;
inline constexpr int ProgChangeEvents = 32844;
inline constexpr int ChannelAftertouchEvents = 32845;
inline constexpr int PitchWheelEvents = 32846;
inline constexpr int TextEvents = 32847;
inline constexpr int TempoTrack32942 = 32942;
inline constexpr int TempoTrack32943 = 32943;
inline constexpr int TempoTrack32944 = 32944;
inline constexpr int TempoTrack32946 = 32946;
inline constexpr int TempoTrack32947 = 32947;
inline constexpr int TempoTrack32948 = 32948;

// StyDoc, MoveItem and StyleTree toolbars (style and pad windows)
inline constexpr int MoveItemDown = 32771;
inline constexpr int MoveItemUp = 32772;
inline constexpr int ExtractItem = 32773;
inline constexpr int ImportItems = 32774;
inline constexpr int StartStopPlayback = 32784;
inline constexpr int StyleToMidi = 32803;
inline constexpr int StyDumpToText = 32812;
inline constexpr int PadToMidi = 33029;
inline constexpr int LevelRoot = 291; // level buttons 291-294: root, element, CV, track
inline constexpr int LevelTrack = 294;

// MIDI bars: buttons and the control ids of their fields
inline constexpr int PreviousMeasure = 32918;
inline constexpr int NextMeasure = 32919;
inline constexpr int GoToThruButton = 32921;
inline constexpr int GoToFromButton = 32922;
inline constexpr int SetFrom = 32923;
inline constexpr int SetThru = 32924;
inline constexpr int SetLoop = 32927;
inline constexpr int SetTempo = 32930;
inline constexpr int PositionField = 1766;
inline constexpr int FromField = 1898;
inline constexpr int ThruField = 1899;
inline constexpr int TempoField = 1082;

} // namespace zib::cmd
