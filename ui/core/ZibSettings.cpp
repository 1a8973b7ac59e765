#include "ui/core/ZibSettings.h"

#include "ui/core/LetterStrings.h"
#include "platform/Profile.h"

namespace zib {

namespace {

struct IntValue {
    std::string_view name;
    int ZibSettings::*field;
};

// The integer values that WriteSetting can store.
const IntValue kIntValues[] = {
    {"LastOpenedFileType", &ZibSettings::LastOpenedFileType},
    {"DefaultKbdType", &ZibSettings::DefaultKbdType},
    {"MidiSortMethod", &ZibSettings::MidiSortMethod},
    {"TransposeChannelSettings", &ZibSettings::TransposeChannelSettings},
    {"KeyChordDetermination", &ZibSettings::KeyChordDetermination},
    {"ChordDetermination", &ZibSettings::ChordDetermination},
    {"QeKeyChordDetermination", &ZibSettings::QeKeyChordDetermination},
    {"QeChordDetermination", &ZibSettings::QeChordDetermination},
    {"Midi2StyIgnoreFlags", &ZibSettings::Midi2StyIgnoreFlags},
    {"StyToMidiType", &ZibSettings::StyToMidiType},
    {"MidiPlaybackApp", &ZibSettings::MidiPlaybackApp},
    {"PlayPercOnDrumChan", &ZibSettings::PlayPercOnDrumChan},
    {"KeyAlphabet", &ZibSettings::KeyAlphabet},
    {"MidiInDevID", &ZibSettings::MidiInDevID},
    {"MidiOutDevID", &ZibSettings::MidiOutDevID},
    {"QeTrackToWqTrack", &ZibSettings::QeTrackToWqTrack},
    {"AppLanguage", &ZibSettings::AppLanguage},
};

struct TextValue {
    std::string_view name;
    std::string ZibSettings::*field;
};

const TextValue kTextValues[] = {
    {"LastOpenedDirectory", &ZibSettings::LastOpenedDirectory},
    {"Author", &ZibSettings::Author},
    {"KeyChord", &ZibSettings::KeyChord},
    {"ChordTable", &ZibSettings::ChordTable},
    {"QeKeyChord", &ZibSettings::QeKeyChord},
    {"QeChordTable", &ZibSettings::QeChordTable},
    {"PsrStyToQeSty", &ZibSettings::PsrStyToQeSty},
    {"MidiPlayerCommand", &ZibSettings::MidiPlayerCommand},
};

} // namespace

int ZibSettings::readInt(std::string_view name, int def) const
{
    return profile_.getInt(kSection, name).value_or(def);
}

void ZibSettings::writeInt(std::string_view name, int value)
{
    profile_.setInt(kSection, name, value);
}

void ZibSettings::writeText(std::string_view name, std::string_view value)
{
    profile_.setString(kSection, name, value);
}

void ZibSettings::LoadSettings(int midiOutDeviceCount, int midiInDeviceCount)
{
    // A letter table that is shorter than its table or holds a letter outside
    // an entry's range would index the converters' tables out of bounds: it is
    // replaced by the default, which is written back at once. (Stricter than a
    // length check on purpose; keep it.)
    auto loadTable = [this](std::string_view name, LetterTable table, std::string& field) {
        auto stored = profile_.getString(kSection, name);
        if (stored && LettersValid(table, *stored)) {
            field = *stored;
            return;
        }
        field = std::string(DefaultLetters(table));
        if (stored) writeText(name, field);
    };

    LastOpenedFileType = readInt("LastOpenedFileType", 2);
    DefaultKbdType = readInt("DefaultKbdType", 57);
    MidiSortMethod = readInt("MidiSortMethod", 0);
    // 512 only when the value is missing: a stored 0 ("transpose every channel") is a real choice.
    TransposeChannelSettings = readInt("TransposeChannelSettings", 512);
    LastOpenedDirectory = profile_.getString(kSection, "LastOpenedDirectory").value_or("");
    Author = profile_.getString(kSection, "Author").value_or("");
    loadTable("KeyChord", LetterTable::KeyChord, KeyChord);
    KeyChordDetermination = readInt("KeyChordDetermination", 1);
    loadTable("ChordTable", LetterTable::ChordTable, ChordTable);
    ChordDetermination = readInt("ChordDetermination", 1);
    loadTable("QeKeyChord", LetterTable::QeKeyChord, QeKeyChord);
    QeKeyChordDetermination = readInt("QeKeyChordDetermination", 1);
    loadTable("QeChordTable", LetterTable::QeChordTable, QeChordTable);
    QeChordDetermination = readInt("QeChordDetermination", 1);
    Midi2StyIgnoreFlags = 0;
    StyToMidiType = readInt("StyToMidiType", 0);
    MidiPlaybackApp = readInt("MidiPlaybackApp", 2);
    PlayPercOnDrumChan = readInt("PlayPercOnDrumChan", 1);
    // Six note-name alphabets exist (0-5); a negative value is reset too (on purpose).
    KeyAlphabet = readInt("KeyAlphabet", 0);
    if (KeyAlphabet < 0 || KeyAlphabet >= 6) KeyAlphabet = 0;
    MidiInDevID = readInt("MidiInDevID", 1);
    MidiOutDevID = readInt("MidiOutDevID", 1);
    QeTrackToWqTrack = readInt("QeTrackToWqTrack", 1);
    // A negative choice is reset as well as one above 6 (on purpose: it indexes a table).
    if (QeTrackToWqTrack < 0 || QeTrackToWqTrack > 6) QeTrackToWqTrack = 1;
    // Any other length, or a damaged letter (kept check), gives the default in memory only.
    auto psr = profile_.getString(kSection, "PsrStyToQeSty");
    PsrStyToQeSty = psr && psr->size() == 10 && LettersValid(LetterTable::PsrStyToQeSty, *psr)
                        ? *psr
                        : std::string(DefaultLetters(LetterTable::PsrStyToQeSty));
    auto outPorts = profile_.getBinary(kSection, "UserMidiOutPorts");
    UserMidiOutPorts =
        UserMidiPortMap::FromStored(outPorts ? *outPorts : std::vector<uint8_t>{}, midiOutDeviceCount);
    auto inPorts = profile_.getBinary(kSection, "UserMidiInPorts");
    UserMidiInPorts =
        UserMidiPortMap::FromStored(inPorts ? *inPorts : std::vector<uint8_t>{}, midiInDeviceCount);
    // 3 and 4 survive loading; every text lookup reads them as English.
    AppLanguage = readInt("AppLanguage", 0);
    if (AppLanguage < 0 || AppLanguage > 4) AppLanguage = 0;
    MidiPlayerCommand =
        profile_.getString(kSection, "MidiPlayerCommand").value_or(std::string(kDefaultMidiPlayerCommand));
}

void ZibSettings::SetLastOpenedDirectory(std::string_view folder)
{
    LastOpenedDirectory = folder;
    writeText("LastOpenedDirectory", LastOpenedDirectory);
}

void ZibSettings::SetQeKeyChord(std::string_view letters)
{
    QeKeyChord = letters;
    writeText("QeKeyChord", QeKeyChord);
}

void ZibSettings::SetQeChordTable(std::string_view letters)
{
    QeChordTable = letters;
    writeText("QeChordTable", QeChordTable);
}

void ZibSettings::SetKeyAlphabet(int n)
{
    KeyAlphabet = (n >= 0 && n < 6) ? n : 0;
    writeInt("KeyAlphabet", KeyAlphabet);
}

void ZibSettings::SetAppLanguage(int n)
{
    AppLanguage = (n >= 0 && n < 5) ? n : 0;
    writeInt("AppLanguage", AppLanguage);
}

void ZibSettings::SetAuthor(std::string_view author)
{
    Author = author;
    writeText("Author", Author);
}

void ZibSettings::SaveUserMidiPorts()
{
    // The store creates the section when it is missing, so the maps are kept
    // even before any other setting has been written.
    profile_.setBinary(kSection, "UserMidiOutPorts", UserMidiOutPorts.StoredBytes());
    profile_.setBinary(kSection, "UserMidiInPorts", UserMidiInPorts.StoredBytes());
}

int* ZibSettings::intField(std::string_view name)
{
    for (const auto& v : kIntValues)
        if (v.name == name) return &(this->*v.field);
    return nullptr;
}

std::string* ZibSettings::textField(std::string_view name)
{
    for (const auto& v : kTextValues)
        if (v.name == name) return &(this->*v.field);
    return nullptr;
}

bool ZibSettings::WriteSetting(std::string_view name)
{
    if (int* i = intField(name)) return profile_.setInt(kSection, name, *i);
    if (std::string* t = textField(name)) return profile_.setString(kSection, name, *t);
    return false;
}

} // namespace zib
