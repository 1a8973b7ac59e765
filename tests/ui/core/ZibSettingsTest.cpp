#include "ui/core/ZibSettings.h"
#include "ui/core/LetterStrings.h"
#include "platform/FileProfile.h"
#include "tests/support/MemoryProfile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace zib;
using test::MemoryProfile;

namespace {

const std::string kSettings = "Settings/";

} // namespace

TEST(ZibSettings, EmptyStoreLoadsDefaultsAndWritesNothing)
{
    MemoryProfile p;
    ZibSettings s(p);
    s.LoadSettings(0, 0);
    EXPECT_TRUE(p.writes.empty());
    EXPECT_EQ(s.LastOpenedFileType, 2);
    EXPECT_EQ(s.DefaultKbdType, 57);
    EXPECT_EQ(s.MidiSortMethod, 0);
    EXPECT_EQ(s.TransposeChannelSettings, 512);
    EXPECT_EQ(s.LastOpenedDirectory, "");
    EXPECT_EQ(s.Author, "");
    EXPECT_EQ(s.KeyChord, "ABAAAAABAAAAABAAAAABAAAAABABABABABAB");
    EXPECT_EQ(s.ChordTable.size(), 200u);
    EXPECT_EQ(s.ChordTable.substr(0, 20), "ACCCAACBCCCCCCCBCACC");
    EXPECT_EQ(s.ChordTable.substr(80, 20), "AAAAAAABAAAAAAABAAAA");
    EXPECT_EQ(s.QeKeyChord,
              "AAAHAAAAAAAAAAAHAAAAAAAAAAAHAAAAAAAAAAAHAAAAAAAAAAAHAAAHAAAHAAAHAAAHAAAHAAAHAAAH");
    EXPECT_EQ(s.QeChordTable.size(), 264u);
    EXPECT_EQ(s.QeChordTable.substr(0, 22), "ACCCAACBCCCCCCCBCACCCC");
    EXPECT_EQ(s.QeChordTable.substr(88, 22), "AAAAAAABAAAAAAABAAAAAA");
    EXPECT_EQ(s.KeyChordDetermination, 1);
    EXPECT_EQ(s.ChordDetermination, 1);
    EXPECT_EQ(s.QeKeyChordDetermination, 1);
    EXPECT_EQ(s.QeChordDetermination, 1);
    EXPECT_EQ(s.Midi2StyIgnoreFlags, 0);
    EXPECT_EQ(s.StyToMidiType, 0);
    EXPECT_EQ(s.MidiPlaybackApp, 2);
    EXPECT_EQ(s.PlayPercOnDrumChan, 1);
    EXPECT_EQ(s.KeyAlphabet, 0);
    EXPECT_EQ(s.MidiInDevID, 1);
    EXPECT_EQ(s.MidiOutDevID, 1);
    EXPECT_EQ(s.QeTrackToWqTrack, 1);
    EXPECT_EQ(s.PsrStyToQeSty, "ABCDABADAB");
    EXPECT_EQ(s.AppLanguage, 0);
    EXPECT_EQ(s.MidiPlayerCommand, ZibSettings::kDefaultMidiPlayerCommand);
    // No device: no port enabled.
    EXPECT_EQ(s.UserMidiOutPorts[0], (UserMidiPortMap::Entry{255, 0}));
}


// The default letter strings, every letter, as the settings table gives them
// (a wrong letter anywhere changes what the converters build by default).
TEST(ZibSettings, DefaultLetterStringsInFull)
{
    struct Row {
        LetterTable table;
        std::string letters;
        std::string ZibSettings::*field;
    };
    const Row rows[] = {
        {LetterTable::KeyChord, "ABAAAAABAAAAABAAAAABAAAAABABABABABAB", &ZibSettings::KeyChord},
        {LetterTable::ChordTable,
         "ACCCAACBCCCCCCCBCACCACCCAACBCCCCCCCBCACCACCCAACBCCCCCCCBCACCACCCAACBCCCCCCCBCACCAAAAAAABAAAAAAABAAAA"
         "AAAAAAABAAAAAAABAAAAAAAAAAABAAAAAAABAAAAAAAAAAABAAAAAAABAAAAAAAAAAABAAAAAAABAAAAAAAAAAABAAAAAAABAAAA",
         &ZibSettings::ChordTable},
        {LetterTable::QeKeyChord, "AAAHAAAAAAAAAAAHAAAAAAAAAAAHAAAAAAAAAAAHAAAAAAAAAAAHAAAHAAAHAAAHAAAHAAAHAAAHAAAH",
         &ZibSettings::QeKeyChord},
        {LetterTable::QeChordTable,
         "ACCCAACBCCCCCCCBCACCCCACCCAACBCCCCCCCBCACCCCACCCAACBCCCCCCCBCACCCCACCCAACBCCCCCCCBCACCCCAAAAAAABAAAA"
         "AAABAAAAAAAAAAAAABAAAAAAABAAAAAAAAAAAAABAAAAAAABAAAAAAAAAAAAABAAAAAAABAAAAAAAAAAAAABAAAAAAABAAAAAAAA"
         "AAAAABAAAAAAABAAAAAAAAAAAAABAAAAAAABAAAAAAAAAAAAABAAAAAAABAAAAAA",
         &ZibSettings::QeChordTable},
        {LetterTable::PsrStyToQeSty, "ABCDABADAB", &ZibSettings::PsrStyToQeSty},
    };
    MemoryProfile p;
    ZibSettings s(p);
    s.LoadSettings(0, 0);
    for (const Row& r : rows) {
        EXPECT_EQ(DefaultLetters(r.table), r.letters) << int(r.table);
        EXPECT_EQ(s.*r.field, r.letters) << int(r.table);
    }
}

TEST(ZibSettings, IntegerLoadRules)
{
    struct Case {
        const char* name;
        int stored;
        int loaded;
        int ZibSettings::*field;
    } cases[] = {
        {"TransposeChannelSettings", 0, 0, &ZibSettings::TransposeChannelSettings}, // 0 is a real choice
        {"TransposeChannelSettings", 3, 3, &ZibSettings::TransposeChannelSettings},
        {"KeyAlphabet", 5, 5, &ZibSettings::KeyAlphabet},
        {"KeyAlphabet", 6, 0, &ZibSettings::KeyAlphabet}, // six alphabets only
        {"KeyAlphabet", 7, 0, &ZibSettings::KeyAlphabet},
        {"KeyAlphabet", -1, 0, &ZibSettings::KeyAlphabet},
        {"QeTrackToWqTrack", 6, 6, &ZibSettings::QeTrackToWqTrack},
        {"QeTrackToWqTrack", 9, 1, &ZibSettings::QeTrackToWqTrack},
        {"AppLanguage", 2, 2, &ZibSettings::AppLanguage},
        {"AppLanguage", 3, 3, &ZibSettings::AppLanguage}, // kept; lookups read it as English
        {"AppLanguage", 4, 4, &ZibSettings::AppLanguage},
        {"AppLanguage", 5, 0, &ZibSettings::AppLanguage},
        {"AppLanguage", -1, 0, &ZibSettings::AppLanguage},
        {"MidiSortMethod", 1, 1, &ZibSettings::MidiSortMethod},
        {"Midi2StyIgnoreFlags", 15, 0, &ZibSettings::Midi2StyIgnoreFlags}, // never read
    };
    for (const auto& c : cases) {
        MemoryProfile p;
        p.seed("Settings", c.name, c.stored);
        ZibSettings s(p);
        s.LoadSettings(1, 1);
        EXPECT_EQ(s.*c.field, c.loaded) << c.name << " " << c.stored;
        EXPECT_TRUE(p.writes.empty()) << c.name;
    }
}

TEST(ZibSettings, DamagedLetterTablesLoadAsDefault)
{
    struct Case {
        const char* name;
        LetterTable table;
        std::string stored;
        bool kept;
        bool writtenBack;
    };
    const std::string keyChord(DefaultLetters(LetterTable::KeyChord));
    const std::string chordTable(DefaultLetters(LetterTable::ChordTable));
    const std::string qeChordTable(DefaultLetters(LetterTable::QeChordTable));
    const std::string qeKeyChord(DefaultLetters(LetterTable::QeKeyChord));
    std::string badKey = keyChord;
    badKey[3] = 'Y'; // key 24 does not exist
    std::string lowKey = keyChord;
    lowKey[0] = '@'; // below 'A'
    std::string maxKey = keyChord;
    maxKey[0] = 'X'; // key 23 is the last
    std::string intro3 = chordTable;
    intro3[80] = 'C'; // INT1 has two CVs only
    std::string var6 = chordTable;
    var6[0] = 'F'; // CV6 of VAR1 exists
    std::string qeChord = qeKeyChord;
    qeChord[1] = 'W'; // chord type 22 does not exist

    const Case cases[] = {
        {"KeyChord", LetterTable::KeyChord, keyChord.substr(0, 35), false, true},
        {"KeyChord", LetterTable::KeyChord, badKey, false, true},
        {"KeyChord", LetterTable::KeyChord, lowKey, false, true},
        {"KeyChord", LetterTable::KeyChord, maxKey, true, false},
        {"KeyChord", LetterTable::KeyChord, keyChord + "Q", true, false},
        {"ChordTable", LetterTable::ChordTable, chordTable.substr(0, 199), false, true},
        {"ChordTable", LetterTable::ChordTable, intro3, false, true},
        {"ChordTable", LetterTable::ChordTable, var6, true, false},
        {"QeChordTable", LetterTable::QeChordTable, qeChordTable.substr(0, 263), false, true},
        {"QeChordTable", LetterTable::QeChordTable, qeChordTable + "A", true, false}, // 265 letters stay
        {"QeKeyChord", LetterTable::QeKeyChord, qeKeyChord.substr(0, 79), false, true},
        {"QeKeyChord", LetterTable::QeKeyChord, qeChord, false, true},
    };
    for (const auto& c : cases) {
        MemoryProfile p;
        p.seed("Settings", c.name, c.stored);
        ZibSettings s(p);
        s.LoadSettings(0, 0);
        const std::string loaded = c.table == LetterTable::KeyChord       ? s.KeyChord
                                   : c.table == LetterTable::ChordTable   ? s.ChordTable
                                   : c.table == LetterTable::QeChordTable ? s.QeChordTable
                                                                          : s.QeKeyChord;
        EXPECT_EQ(loaded, c.kept ? c.stored : std::string(DefaultLetters(c.table)))
            << c.name << " " << c.stored;
        EXPECT_EQ(p.writes.size(), c.writtenBack ? 1u : 0u) << c.name;
        if (c.writtenBack) {
            EXPECT_EQ(p.getString("Settings", c.name), std::string(DefaultLetters(c.table)));
        }
    }
}

TEST(ZibSettings, PsrTextOfWrongLengthOrLettersIsReplacedInMemoryOnly)
{
    for (const char* stored : {"ABCDABADABA", "ABCDABAD", "ABCDZBADAB", "ABCDABAGAB"}) {
        MemoryProfile p;
        p.seed("Settings", "PsrStyToQeSty", std::string(stored));
        ZibSettings s(p);
        s.LoadSettings(0, 0);
        EXPECT_EQ(s.PsrStyToQeSty, "ABCDABADAB") << stored;
        EXPECT_TRUE(p.writes.empty());
    }
    MemoryProfile p;
    p.seed("Settings", "PsrStyToQeSty", std::string("ABCDBCEFBC"));
    ZibSettings s(p);
    s.LoadSettings(0, 0);
    EXPECT_EQ(s.PsrStyToQeSty, "ABCDBCEFBC");
}

TEST(ZibSettings, WrongTypesCountAsMissing)
{
    MemoryProfile p;
    p.seed("Settings", "DefaultKbdType", std::string("73"));
    p.seed("Settings", "Author", 5);
    p.seed("Settings", "UserMidiOutPorts", std::string("0001"));
    ZibSettings s(p);
    s.LoadSettings(2, 0);
    EXPECT_EQ(s.DefaultKbdType, 57);
    EXPECT_EQ(s.Author, "");
    EXPECT_EQ(s.UserMidiOutPorts, UserMidiPortMap::Defaults(2));
}

TEST(ZibSettings, PortMapLoadRules)
{
    // With 3 devices and no stored map: ports 0-2 map to devices 0-2, only port 0 enabled.
    auto d = UserMidiPortMap::Defaults(3);
    for (int i = 0; i < 128; ++i) {
        EXPECT_EQ(d[i].deviceId, i < 3 ? i : 255) << i;
        EXPECT_EQ(d[i].enabled, i == 0 ? 1 : 0) << i;
    }
    EXPECT_EQ(UserMidiPortMap::Defaults(0)[0], (UserMidiPortMap::Entry{255, 0}));

    MemoryProfile p;
    p.seed("Settings", "UserMidiOutPorts", std::vector<uint8_t>{4, 1, 7, 0, 2, 1});
    p.seed("Settings", "UserMidiInPorts", std::vector<uint8_t>(258, 0)); // too long: missing
    ZibSettings s(p);
    s.LoadSettings(5, 1);
    EXPECT_EQ(s.UserMidiOutPorts[0], (UserMidiPortMap::Entry{4, 1}));
    EXPECT_EQ(s.UserMidiOutPorts[1], (UserMidiPortMap::Entry{7, 0}));
    EXPECT_EQ(s.UserMidiOutPorts[2], (UserMidiPortMap::Entry{2, 1}));
    for (int i = 3; i < 128; ++i)
        EXPECT_EQ(s.UserMidiOutPorts[i], (UserMidiPortMap::Entry{255, 0})) << i;
    EXPECT_EQ(s.UserMidiInPorts, UserMidiPortMap::Defaults(1));

    // An odd last byte belongs to no whole entry.
    auto odd = UserMidiPortMap::FromStored(std::vector<uint8_t>{3, 1, 9}, 4);
    EXPECT_EQ(odd[0], (UserMidiPortMap::Entry{3, 1}));
    EXPECT_EQ(odd[1], (UserMidiPortMap::Entry{255, 0}));
}

TEST(ZibSettings, PortMapsSaveTheirOwnLeadingEntries)
{
    test::TempDir dir;
    // A fresh store has no "Settings" section: the maps are saved all the same.
    FileProfile store(dir / "zib.conf");
    ZibSettings s(store);
    s.LoadSettings(0, 0);
    for (int i = 0; i < 7; ++i)
        s.UserMidiOutPorts[i] = {uint8_t(i), uint8_t(i % 2)};
    s.UserMidiOutPorts[5].deviceId = 255; // the list ends at port 5
    s.UserMidiInPorts = UserMidiPortMap::Defaults(2);
    s.SaveUserMidiPorts();

    FileProfile back(dir / "zib.conf");
    auto out = back.getBinary("Settings", "UserMidiOutPorts");
    ASSERT_TRUE(out);
    EXPECT_EQ(*out, (std::vector<uint8_t>{0, 0, 1, 1, 2, 0, 3, 1, 4, 0}));
    EXPECT_EQ(back.getBinary("Settings", "UserMidiInPorts"), (std::vector<uint8_t>{0, 1, 1, 0}));

    ZibSettings reloaded(back);
    reloaded.LoadSettings(0, 0);
    for (int i = 5; i < 128; ++i)
        EXPECT_EQ(reloaded.UserMidiOutPorts[i], (UserMidiPortMap::Entry{255, 0}));
    EXPECT_EQ(reloaded.UserMidiOutPorts[4], (UserMidiPortMap::Entry{4, 0}));
}

TEST(ZibSettings, SettersStoreAndWriteAtOnce)
{
    MemoryProfile p;
    ZibSettings s(p);
    s.LoadSettings(0, 0);
    struct Case {
        void (ZibSettings::*set)(int);
        int given;
        int stored;
        const char* name;
    } cases[] = {
        {&ZibSettings::SetKeyAlphabet, 5, 5, "KeyAlphabet"},
        {&ZibSettings::SetKeyAlphabet, 6, 0, "KeyAlphabet"},
        {&ZibSettings::SetKeyAlphabet, -3, 0, "KeyAlphabet"},
        {&ZibSettings::SetAppLanguage, 4, 4, "AppLanguage"},
        {&ZibSettings::SetAppLanguage, 5, 0, "AppLanguage"},
        {&ZibSettings::SetAppLanguage, 1, 1, "AppLanguage"},
    };
    for (const auto& c : cases) {
        (s.*c.set)(c.given);
        EXPECT_EQ(p.getInt("Settings", c.name), c.stored) << c.name << " " << c.given;
    }
    s.SetLastOpenedDirectory("/home/u/styles");
    s.SetAuthor("Jane");
    EXPECT_EQ(p.getString("Settings", "LastOpenedDirectory"), "/home/u/styles");
    EXPECT_EQ(s.Author, "Jane");
    EXPECT_EQ(p.getString("Settings", "Author"), "Jane");
    s.DefaultKbdType = 73;
    EXPECT_TRUE(s.WriteSetting("DefaultKbdType"));
    EXPECT_EQ(p.getInt("Settings", "DefaultKbdType"), 73);
    EXPECT_FALSE(s.WriteSetting("UserMidiOutPorts"));
    EXPECT_FALSE(s.WriteSetting("NoSuchValue"));
}

TEST(LetterStrings, DefaultsAreValidAndRangesMatchTheTables)
{
    for (LetterTable t : {LetterTable::KeyChord, LetterTable::ChordTable, LetterTable::QeKeyChord,
                          LetterTable::QeChordTable, LetterTable::PsrStyToQeSty})
        EXPECT_TRUE(LettersValid(t, DefaultLetters(t)));
    EXPECT_EQ(MaxLetterValue(LetterTable::ChordTable, 79), 5); // VAR4, last chord type
    EXPECT_EQ(MaxLetterValue(LetterTable::ChordTable, 80), 1); // INT1
    EXPECT_EQ(MaxLetterValue(LetterTable::QeChordTable, 87), 5);
    EXPECT_EQ(MaxLetterValue(LetterTable::QeChordTable, 88), 1);
    EXPECT_EQ(MaxLetterValue(LetterTable::QeKeyChord, 0), 11); // key
    EXPECT_EQ(MaxLetterValue(LetterTable::QeKeyChord, 1), 21); // chord type
    EXPECT_EQ(MaxLetterValue(LetterTable::PsrStyToQeSty, 6), 5);
    EXPECT_EQ(MaxLetterValue(LetterTable::PsrStyToQeSty, 8), 2);
}
