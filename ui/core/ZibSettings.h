#pragma once

#include "ui/core/UserMidiPortMap.h"

#include <string>
#include <string_view>

namespace zib {

class Profile;

// Every persistent option of the program, kept in the profile section
// "Settings". Loaded once at start-up (LoadSettings); every change is written
// at the moment it is made, through the setters below.
//
// Field names are the value names. Letter strings hold one letter per table
// entry (Windows-1252 bytes like every stored text). The converters and
// documents of other areas read these fields directly.
class ZibSettings {
public:
    static constexpr std::string_view kSection = "Settings";

    // The default command of the external MIDI player: the file takes the place of %s.
    static constexpr std::string_view kDefaultMidiPlayerCommand =
        "fluidsynth -i -n -q /usr/share/sounds/sf2/default-GM.sf2 %s";

    explicit ZibSettings(Profile& profile) : profile_(profile) {}
    ZibSettings(const ZibSettings&) = delete;
    ZibSettings& operator=(const ZibSettings&) = delete;

    // Values, with the defaults a missing value loads as
    int LastOpenedFileType = 2; // 1-based filter index of the Open dialog
    int DefaultKbdType = 57;    // model letter '9'
    int MidiSortMethod = 0;
    int TransposeChannelSettings = 512; // bit i: channel i + 1 is not transposed
    std::string LastOpenedDirectory;
    std::string Author;
    std::string KeyChord; // 36 letters
    int KeyChordDetermination = 1;
    std::string ChordTable; // 200 letters
    int ChordDetermination = 1;
    std::string QeKeyChord; // 80 letters
    int QeKeyChordDetermination = 1;
    std::string QeChordTable; // 264 letters
    int QeChordDetermination = 1;
    int Midi2StyIgnoreFlags = 0; // written only; 0 at every start
    int StyToMidiType = 0;
    int MidiPlaybackApp = 2; // 1 = the external player command, else the built-in player
    int PlayPercOnDrumChan = 1;
    int KeyAlphabet = 0; // note-name alphabet 0-5
    int MidiInDevID = 1;
    int MidiOutDevID = 1;
    int QeTrackToWqTrack = 1;
    std::string PsrStyToQeSty; // 10 letters
    UserMidiPortMap UserMidiOutPorts;
    UserMidiPortMap UserMidiInPorts;
    int AppLanguage = 0;           // 0 English, 1 Italian, 2 German (3, 4 survive loading)
    std::string MidiPlayerCommand; // external player command line, %s = the MIDI file

    // Loading: reads every value in the documented order and applies its load
    // rule. A value that is missing, of the wrong type or damaged loads as its
    // default; damaged letter tables are written back as the default.
    void LoadSettings(int midiOutDeviceCount, int midiInDeviceCount);

    // Setters that store the field and write the value at once
    void SetLastOpenedDirectory(std::string_view folder);
    void SetQeKeyChord(std::string_view letters);
    void SetQeChordTable(std::string_view letters);
    void SetKeyAlphabet(int n); // 0-5, anything else 0
    void SetAppLanguage(int n); // 0-4, anything else 0
    void SetAuthor(std::string_view author);
    void SaveUserMidiPorts(); // OUT map first, then IN

    // Writing one value of the section as it stands in its field (the settings
    // commands store the dialog's answer in the field first). False when the
    // name is not an integer or text value of this section, or cannot be stored.
    bool WriteSetting(std::string_view name);

    Profile& profile() { return profile_; }

private:
    int* intField(std::string_view name);
    std::string* textField(std::string_view name);
    int readInt(std::string_view name, int def) const;
    void writeInt(std::string_view name, int value);
    void writeText(std::string_view name, std::string_view value);

    Profile& profile_;
};

} // namespace zib
