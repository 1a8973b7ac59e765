#pragma once

#include "ui/core/SmallSettingsDlgModels.h"
#include "ui/core/UserMidiPortMap.h"
#include "ui/core/ZibSettings.h"

#include <functional>
#include <string>

namespace zib {

// The settings commands of the application: each copies the settings into
// its dialog, runs it, and only when the dialog ends with OK stores every
// value of its row in the settings and writes it at once (even unchanged),
// in the documented order. Cancel leaves fields and store untouched.
// A dialog runner returns true for OK.
template <class Values> using SettingsDialog = std::function<bool(Values&)>;
// A property sheet runner is a dialog runner whose Apply button hands the
// pages' values to `apply`, which stores them as OK does; the sheet stays
// open, and a Cancel after it leaves the applied values stored.
template <class Values> using ApplyValues = std::function<void(const Values&)>;
template <class Values> using SettingsSheet = std::function<bool(Values&, const ApplyValues<Values>& apply)>;

// Values of the conversion settings sheets.
struct WqConversionValues {
    std::string ChordTable;
    int ChordDetermination = 1;
    std::string KeyChord;
    int KeyChordDetermination = 1;
    int Midi2StyIgnoreFlags = 0;
};
struct QeConversionValues {
    std::string QeChordTable;
    int QeChordDetermination = 1;
    std::string QeKeyChord;
    int QeKeyChordDetermination = 1;
};
// Values of the MIDI playback settings dialog.
struct PlaybackValues {
    int MidiPlaybackApp = 2;
    int PlayPercOnDrumChan = 1;
    int MidiInDevID = 1;
    int MidiOutDevID = 1;
};
// The two port maps the MIDI ports dialog edits.
struct MidiPortsValues {
    UserMidiPortMap out;
    UserMidiPortMap in;
};

// "&Sorting method": MidiSortMethod.
bool RunSortMethodCommand(ZibSettings& s, const SettingsDialog<SortMethodDlgModel>& dialog);
// "&Transpose setting": TransposeChannelSettings.
bool RunTransposeSettingsCommand(ZibSettings& s, const SettingsDialog<TransposeSettingsDlgModel>& dialog);
// "Keyboard type": DefaultKbdType.
bool RunKeyboardTypeCommand(ZibSettings& s, const SettingsDialog<KeyboardTypeDlgModel>& dialog);
// "Yamaha PSR style to Qe style settings": PsrStyToQeSty (the letter string).
bool RunPsrSettingsCommand(ZibSettings& s, const SettingsDialog<std::string>& dialog);
// "StyleToMidi settings": StyToMidiType.
bool RunStyToMidiSettingsCommand(ZibSettings& s, const SettingsDialog<int>& dialog);
// "Qe-style to Wq-style settings": QeTrackToWqTrack.
bool RunQeTrackToWqTrackCommand(ZibSettings& s, const SettingsDialog<int>& dialog);
// "MidiTo wq-series Style Settings": ChordDetermination, ChordTable,
// KeyChordDetermination, KeyChord, Midi2StyIgnoreFlags, on OK and on Apply.
bool RunWqConversionSettingsCommand(ZibSettings& s, const SettingsSheet<WqConversionValues>& sheet);
// "MidiTo Qe-series Sty settings": QeChordDetermination, QeChordTable,
// QeKeyChordDetermination, QeKeyChord, on OK and on Apply.
bool RunQeConversionSettingsCommand(ZibSettings& s, const SettingsSheet<QeConversionValues>& sheet);
// "Style Playback settings": MidiPlaybackApp, PlayPercOnDrumChan, MidiInDevID, MidiOutDevID.
bool RunPlaybackSettingsCommand(ZibSettings& s, const SettingsDialog<PlaybackValues>& dialog);
// "Midi Ports settings": after OK the devices are enumerated again, then both maps saved.
bool RunMidiPortsCommand(ZibSettings& s, const SettingsDialog<MidiPortsValues>& dialog,
                         const std::function<void()>& enumMidiDevices);

} // namespace zib
