#include "app/core/SettingsCommands.h"
#include "tests/app/core/MemoryProfile.h"

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
    EXPECT_FALSE(RunWqConversionSettingsCommand(s, cancel<WqConversionValues>()));
    EXPECT_FALSE(RunQeConversionSettingsCommand(s, cancel<QeConversionValues>()));
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
        {[&] { return RunWqConversionSettingsCommand(s, ok<WqConversionValues>()); },
         {"ChordDetermination", "ChordTable", "KeyChordDetermination", "KeyChord", "Midi2StyIgnoreFlags"}},
        {[&] { return RunQeConversionSettingsCommand(s, ok<QeConversionValues>()); },
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
