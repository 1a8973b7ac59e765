// The Setup menu's "Style Playback settings" and "Midi Ports settings" in the
// running program: OK stores what the dialog shows, Cancel stores nothing.
#include "platform/FileProfile.h"
#include "tests/support/gui/ZibSession.h"
#include "tests/devices/DeviceGuiTest.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

using test::ZibRun;
using test::ZibSession;

constexpr const char* kPlaybackSettings = "32876";
constexpr const char* kMidiPortsSettings = "32941";
constexpr const char* kInstruments = "32951";

class SetupGui : public test::DeviceGuiTest {
protected:
    std::optional<int32_t> setting(const char* name) const
    {
        return FileProfile(session_.settingsFile()).getInt("Settings", name);
    }
};

TEST_F(SetupGui, PlaybackSettingsAreStoredOnOkOnly)
{
    FileProfile(session_.settingsFile()).setInt("Settings", "MidiPlaybackApp", 2);
    const ZibRun cancelled =
        run(std::string("menu ") + kPlaybackSettings + "\ndialog check 1776 1; check 1069 0; cancel\n");
    EXPECT_FALSE(cancelled.has(std::string("menu ") + kPlaybackSettings + " disabled"));
    EXPECT_TRUE(cancelled.has("dialog: title=MIDI settings"));
    EXPECT_EQ(setting("MidiPlaybackApp"), 2);
    EXPECT_FALSE(setting("PlayPercOnDrumChan").has_value());

    const ZibRun r =
        run(std::string("menu ") + kPlaybackSettings +
            "\ndialog log 1022; log 1777; log 1069; check 1776 1; check 1069 0; select 1022 0; ok\n");
    // Device 0 is the built-in synthesizer, always there.
    EXPECT_EQ(r.line("control 1022:").rfind("control 1022: selection=", 0), 0u);
    EXPECT_TRUE(r.has("control 1777: label=Built-in player checked=1 enabled=1"));
    EXPECT_TRUE(r.has("control 1069: label=Playback PERC track on (DRUM) channel 10 checked=1 enabled=1"));
    EXPECT_EQ(setting("MidiPlaybackApp"), 1);
    EXPECT_EQ(setting("PlayPercOnDrumChan"), 0);
    EXPECT_EQ(setting("MidiOutDevID"), 0);
}

TEST_F(SetupGui, PortsDialogWarnsAboutEmptyListsAndStoresTheMaps)
{
    // Nothing selected: the warning for OUT, "go back", then "go on" twice.
    const ZibRun r = run(std::string("menu ") + kMidiPortsSettings +
                         "\ndialog log 1047; log 1945; select 1945 -1; select 1944 -1; ok; ok\n"
                         "dialog log 1047; log 1048; ok\n"
                         "dialog cancel\n"
                         "dialog log 1047; cancel\n");
    EXPECT_FALSE(r.has(std::string("menu ") + kMidiPortsSettings + " disabled"));
    EXPECT_TRUE(r.has("dialog: title=Select MIDI Ports"));
    EXPECT_TRUE(r.has("control 1048: label=You will not hear any playback!!! enabled=1"));
    const auto warnings = r.lines("control 1047:");
    ASSERT_EQ(warnings.size(), 3u);
    EXPECT_TRUE(warnings[1] ==
                "control 1047: label=WARNING: There is no selected any MIDI OUTPUT ports enabled=1")
        << warnings[1];
    EXPECT_EQ(r.lines("dialog: title=No MIDI ports selected !!!").size(), 3u)
        << "OUT, back to the list, OUT again (go on), then IN";
    EXPECT_TRUE(r.has("dialog-end: title=Select MIDI Ports result=5100")) << "the second OK ends it";
    const auto out = FileProfile(session_.settingsFile()).getBinary("Settings", "UserMidiOutPorts");
    ASSERT_TRUE(out.has_value());
    ASSERT_GE(out->size(), 2u);
    EXPECT_EQ((*out)[0], 0) << "device 0, the built-in synthesizer";
    EXPECT_EQ((*out)[1], 0) << "disabled";

    // Selected again: port 1 plays through the synthesizer.
    const ZibRun again =
        run(std::string("menu ") + kMidiPortsSettings + "\ndialog select 1945 0; ok\ndialog cancel\n");
    const auto enabled = FileProfile(session_.settingsFile()).getBinary("Settings", "UserMidiOutPorts");
    ASSERT_TRUE(enabled.has_value());
    EXPECT_EQ((*enabled)[1], 1);

    // Cancel stores nothing.
    FileProfile(session_.settingsFile())
        .setBinary("Settings", "UserMidiOutPorts", std::vector<uint8_t>{0, 1});
    run(std::string("menu ") + kMidiPortsSettings + "\ndialog select 1945 -1; cancel\n");
    EXPECT_EQ(FileProfile(session_.settingsFile()).getBinary("Settings", "UserMidiOutPorts"),
              (std::vector<uint8_t>{0, 1}));
}

// The fake devices are three OUT devices: 0 the synthesizer's stand-in, 1
// "Zib Test:Out A", 2 "Zib Test:Out B". The table knew devices 2 and 0, in
// that order: the list shows 2, 0, 1 with 1 new and not selected. Choosing
// only the second entry makes it port 1 and moves the first behind it.
TEST_F(SetupGui, PortsDialogOrdersTheDevicesAsTheTableKnewThem)
{
    // A first start knows no table: port 1 plays on the built-in synth.
    const ZibRun first = run(std::string("menu ") + kMidiPortsSettings + "\ndialog log 1945; cancel\n");
    EXPECT_TRUE(first.has("control 1945: selection=0 items=Zib built-in synth (General MIDI)|Zib Test:Out A|"
                          "Zib Test:Out B enabled=1"))
        << first.line("control 1945:");

    FileProfile(session_.settingsFile()).setBinary("Settings", "UserMidiOutPorts", std::vector<uint8_t>{2, 1, 0, 1});
    const ZibRun r = run(std::string("menu ") + kMidiPortsSettings + "\ndialog log 1047; log 1945; ok\n");
    EXPECT_TRUE(r.has("control 1945: selection=0,1 items=Zib Test:Out B|Zib built-in synth (General MIDI)|"
                      "Zib Test:Out A enabled=1"))
        << r.line("control 1945:");
    EXPECT_TRUE(r.has("control 1047: label=WARNING: Number of available OUT ports differs from last time! enabled=1"))
        << r.line("control 1047:");
    EXPECT_EQ(FileProfile(session_.settingsFile()).getBinary("Settings", "UserMidiOutPorts"),
              (std::vector<uint8_t>{2, 1, 0, 1, 1, 0}));

    run(std::string("menu ") + kMidiPortsSettings + "\ndialog select 1945 -1; select 1945 1; ok\n");
    EXPECT_EQ(FileProfile(session_.settingsFile()).getBinary("Settings", "UserMidiOutPorts"),
              (std::vector<uint8_t>{0, 1, 2, 0, 1, 0}));
}

TEST_F(SetupGui, InstrumentsItemIsEnabled)
{
    const ZibRun r = run(std::string("menu ") + kInstruments + "\ndialog cancel\n");
    EXPECT_FALSE(r.has(std::string("menu ") + kInstruments + " disabled"));
    EXPECT_TRUE(r.has("dialog: title=Port - Instrument Relation"));
}

} // namespace
} // namespace zib
