#include "ui/core/SettingsCommands.h"
#include "tests/support/MemoryProfile.h"

#include <gtest/gtest.h>

using namespace zib;
using test::MemoryProfile;

namespace {

template <class V> SettingsDialog<V> cancel()
{
    return [](V&) { return false; };
}

template <class V> SettingsDialog<V> ok()
{
    return [](V&) { return true; };
}

// A property sheet closed without using Apply.
template <class V> SettingsSheet<V> sheetCancel()
{
    return [](V&, const ApplyValues<V>&) { return false; };
}

template <class V> SettingsSheet<V> sheetOk()
{
    return [](V&, const ApplyValues<V>&) { return true; };
}

} // namespace

TEST(SettingsCommands, CancelWritesNothingAnywhere)
{
    MemoryProfile p;
    ZibSettings s(p);
    s.LoadSettings(1, 1);
    s.MidiSortMethod = 1;
    EXPECT_FALSE(RunSortMethodCommand(s, cancel<SortMethodDlgModel>()));
    EXPECT_FALSE(RunTransposeSettingsCommand(s, cancel<TransposeSettingsDlgModel>()));
    EXPECT_FALSE(RunKeyboardTypeCommand(s, cancel<KeyboardTypeDlgModel>()));
    EXPECT_FALSE(RunPsrSettingsCommand(s, cancel<std::string>()));
    EXPECT_FALSE(RunStyToMidiSettingsCommand(s, cancel<int>()));
    EXPECT_FALSE(RunQeTrackToWqTrackCommand(s, cancel<int>()));
    EXPECT_FALSE(RunWqConversionSettingsCommand(s, sheetCancel<WqConversionValues>()));
    EXPECT_FALSE(RunQeConversionSettingsCommand(s, sheetCancel<QeConversionValues>()));
    EXPECT_FALSE(RunQeConversionSettingsCommand(s, nullptr));
    EXPECT_FALSE(RunPlaybackSettingsCommand(s, cancel<PlaybackValues>()));
    bool enumerated = false;
    EXPECT_FALSE(RunMidiPortsCommand(s, cancel<MidiPortsValues>(), [&] { enumerated = true; }));
    // A command whose dialog is not there does nothing either.
    EXPECT_FALSE(RunStyToMidiSettingsCommand(s, nullptr));
    EXPECT_TRUE(p.writes.empty());
    EXPECT_FALSE(enumerated);
    EXPECT_EQ(s.MidiSortMethod, 1);
}

TEST(SettingsCommands, OkWritesEveryValueOfItsRowInOrder)
{
    MemoryProfile p;
    ZibSettings s(p);
    s.LoadSettings(2, 1);
    struct Case {
        std::function<bool()> run;
        std::vector<std::string> writes;
    } cases[] = {
        {[&] { return RunSortMethodCommand(s, ok<SortMethodDlgModel>()); }, {"MidiSortMethod"}},
        {[&] { return RunTransposeSettingsCommand(s, ok<TransposeSettingsDlgModel>()); },
         {"TransposeChannelSettings"}},
        {[&] { return RunKeyboardTypeCommand(s, ok<KeyboardTypeDlgModel>()); }, {"DefaultKbdType"}},
        {[&] { return RunPsrSettingsCommand(s, ok<std::string>()); }, {"PsrStyToQeSty"}},
        {[&] { return RunStyToMidiSettingsCommand(s, ok<int>()); }, {"StyToMidiType"}},
        {[&] { return RunQeTrackToWqTrackCommand(s, ok<int>()); }, {"QeTrackToWqTrack"}},
        {[&] { return RunWqConversionSettingsCommand(s, sheetOk<WqConversionValues>()); },
         {"ChordDetermination", "ChordTable", "KeyChordDetermination", "KeyChord", "Midi2StyIgnoreFlags"}},
        {[&] { return RunQeConversionSettingsCommand(s, sheetOk<QeConversionValues>()); },
         {"QeChordDetermination", "QeChordTable", "QeKeyChordDetermination", "QeKeyChord"}},
        {[&] { return RunPlaybackSettingsCommand(s, ok<PlaybackValues>()); },
         {"MidiPlaybackApp", "PlayPercOnDrumChan", "MidiInDevID", "MidiOutDevID"}},
        {[&] { return RunMidiPortsCommand(s, ok<MidiPortsValues>(), {}); },
         {"UserMidiOutPorts", "UserMidiInPorts"}},
    };
    for (const auto& c : cases) {
        p.writes.clear();
        EXPECT_TRUE(c.run());
        std::vector<std::string> expected;
        for (const auto& w : c.writes)
            expected.push_back("Settings/" + w);
        EXPECT_EQ(p.writes, expected);
    }
    // Unchanged values were written as they were.
    EXPECT_EQ(p.getInt("Settings", "TransposeChannelSettings"), 512);
    EXPECT_EQ(p.getString("Settings", "PsrStyToQeSty"), "ABCDABADAB");
}

TEST(SettingsCommands, AnswersReachFieldsAndStore)
{
    MemoryProfile p;
    ZibSettings s(p);
    s.LoadSettings(0, 0);
    RunSortMethodCommand(s, [](SortMethodDlgModel& m) {
        EXPECT_EQ(m.method, 0u);
        m.Ok(SortMethodDlgModel::kInsertSort);
        return true;
    });
    EXPECT_EQ(s.MidiSortMethod, 1);
    RunTransposeSettingsCommand(s, [](TransposeSettingsDlgModel& m) {
        EXPECT_EQ(m.mask, 512u);
        m.Ok({});
        return true;
    });
    EXPECT_EQ(p.getInt("Settings", "TransposeChannelSettings"), 0);
    // A stored mask of 0 survives the next start.
    ZibSettings again(p);
    again.LoadSettings(0, 0);
    EXPECT_EQ(again.TransposeChannelSettings, 0);

    RunPlaybackSettingsCommand(s, [](PlaybackValues& v) {
        v.MidiPlaybackApp = 1;
        v.MidiOutDevID = 3;
        return true;
    });
    EXPECT_EQ(s.MidiPlaybackApp, 1);
    EXPECT_EQ(p.getInt("Settings", "MidiOutDevID"), 3);

    std::vector<std::string> order;
    RunMidiPortsCommand(
        s,
        [](MidiPortsValues& v) {
            v.out[0] = {2, 1};
            return true;
        },
        [&] { order.push_back("enum:" + std::to_string(p.writes.size())); });
    EXPECT_EQ(order, std::vector<std::string>{"enum:" + std::to_string(p.writes.size() - 2)});
    EXPECT_EQ(p.getBinary("Settings", "UserMidiOutPorts"), (std::vector<uint8_t>{2, 1}));
}

// Apply stores the pages' values as OK does while the sheet stays open; a
// Cancel after it keeps them, an OK after it stores its own.
TEST(SettingsCommands, ApplyOfTheConversionSheetsStoresAsOkDoes)
{
    MemoryProfile p;
    ZibSettings s(p);
    s.LoadSettings(1, 1);
    const std::vector<std::string> wqWrites = {"Settings/ChordDetermination", "Settings/ChordTable",
                                               "Settings/KeyChordDetermination", "Settings/KeyChord",
                                               "Settings/Midi2StyIgnoreFlags"};
    const auto applyThen = [&](bool ok) {
        return [&p, ok](WqConversionValues& v, const ApplyValues<WqConversionValues>& apply) {
            v.Midi2StyIgnoreFlags = 5;
            v.ChordDetermination = 0;
            apply(v);
            // Stored at once, with the sheet still open.
            EXPECT_EQ(p.getInt("Settings", "Midi2StyIgnoreFlags"), 5);
            v.Midi2StyIgnoreFlags = 6;
            return ok;
        };
    };

    EXPECT_FALSE(RunWqConversionSettingsCommand(s, applyThen(false)));
    EXPECT_EQ(p.writes, wqWrites);
    EXPECT_EQ(s.Midi2StyIgnoreFlags, 5);
    EXPECT_EQ(s.ChordDetermination, 0);
    EXPECT_EQ(p.getInt("Settings", "ChordDetermination"), 0);

    p.writes.clear();
    EXPECT_TRUE(RunWqConversionSettingsCommand(s, applyThen(true)));
    std::vector<std::string> twice = wqWrites;
    twice.insert(twice.end(), wqWrites.begin(), wqWrites.end());
    EXPECT_EQ(p.writes, twice);
    EXPECT_EQ(s.Midi2StyIgnoreFlags, 6);
    EXPECT_EQ(p.getInt("Settings", "Midi2StyIgnoreFlags"), 6);

    // The Qe sheet alike, each Apply storing the values of that moment.
    p.writes.clear();
    std::string applied;
    EXPECT_FALSE(RunQeConversionSettingsCommand(
        s, [&](QeConversionValues& v, const ApplyValues<QeConversionValues>& apply) {
            v.QeKeyChordDetermination = 0;
            v.QeKeyChord[0] = 'J'; // VAR1 CV1 in A
            applied = v.QeKeyChord;
            apply(v);
            v.QeKeyChordDetermination = 1;
            apply(v);
            return false;
        }));
    EXPECT_EQ(p.writes.size(), 2 * 4u);
    EXPECT_EQ(s.QeKeyChordDetermination, 1);
    EXPECT_EQ(s.QeKeyChord, applied);
    EXPECT_EQ(p.getString("Settings", "QeKeyChord"), applied);
}
