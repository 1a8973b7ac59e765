// The models of "MIDI settings" and "Select MIDI Ports" over a made-up set of
// devices.
#include "devices/core/MidiDeviceNames.h"
#include "devices/core/MidiPortsDlgModel.h"
#include "devices/core/MidiSettingsDlgModel.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

// Devices named "Out n" and "In n"; the devices in `unnamed` have no name.
class Devices : public MidiDeviceNames {
public:
    Devices(int outs, int ins, int unnamed = -1) : outs_(outs), ins_(ins), unnamed_(unnamed) {}
    int OutDeviceCount() const override { return outs_; }
    int InDeviceCount() const override { return ins_; }
    std::optional<std::string> OutDeviceName(int d) const override
    {
        if (d == unnamed_ || d >= outs_) return std::nullopt;
        return "Out " + std::to_string(d);
    }
    std::optional<std::string> InDeviceName(int d) const override
    {
        if (d == unnamed_ || d >= ins_) return std::nullopt;
        return "In " + std::to_string(d);
    }

private:
    int outs_, ins_, unnamed_;
};

TEST(MidiSettingsDlgModel, ShowsTheSettingsAndHandsBackTheChoice)
{
    const Devices devices(3, 2, 1);
    MidiSettingsDlgModel model({1, 1, 1, 2}, devices);
    EXPECT_EQ(model.OutDevices(), (std::vector<std::string>{"Out 0", "???", "Out 2"}));
    EXPECT_EQ(model.InDevices(), (std::vector<std::string>{"In 0", "???"}));
    EXPECT_EQ(model.InSelection(), 1);
    EXPECT_EQ(model.OutSelection(), 2);
    EXPECT_TRUE(model.ExternalPlayer());
    EXPECT_TRUE(model.Percussion());
    const PlaybackValues same = model.Ok();
    EXPECT_EQ(same.MidiPlaybackApp, 1);
    EXPECT_EQ(same.PlayPercOnDrumChan, 1);
    EXPECT_EQ(same.MidiInDevID, 1);
    EXPECT_EQ(same.MidiOutDevID, 2);

    model.SetExternalPlayer(false);
    model.SetPercussion(false);
    model.SelectIn(0);
    model.SelectOut(1);
    const PlaybackValues changed = model.Ok();
    EXPECT_EQ(changed.MidiPlaybackApp, 2);
    EXPECT_EQ(changed.PlayPercOnDrumChan, 0);
    EXPECT_EQ(changed.MidiInDevID, 0);
    EXPECT_EQ(changed.MidiOutDevID, 1);
}

TEST(MidiSettingsDlgModel, DevicesThatAreNotThereSelectNothing)
{
    // Any method but 1 is the built-in player; a flag other than 1 is off.
    MidiSettingsDlgModel model({7, 2, 5, 9}, Devices(2, 0));
    EXPECT_FALSE(model.ExternalPlayer());
    EXPECT_FALSE(model.Percussion());
    EXPECT_TRUE(model.InDevices().empty());
    EXPECT_EQ(model.InSelection(), -1);
    EXPECT_EQ(model.OutSelection(), -1);
    model.SelectOut(5);
    EXPECT_EQ(model.OutSelection(), -1);
    const PlaybackValues values = model.Ok();
    EXPECT_EQ(values.MidiInDevID, 0) << "no selection stores 0";
    EXPECT_EQ(values.MidiOutDevID, 0);
}

MidiPortsValues maps(std::initializer_list<UserMidiPortMap::Entry> out,
                     std::initializer_list<UserMidiPortMap::Entry> in)
{
    MidiPortsValues v;
    int p = 0;
    for (const auto& e : out)
        v.out[p++] = e;
    p = 0;
    for (const auto& e : in)
        v.in[p++] = e;
    return v;
}

std::vector<int> devicesOf(const std::vector<MidiPortsDlgModel::Item>& items)
{
    std::vector<int> out;
    for (const auto& item : items)
        out.push_back(item.device);
    return out;
}

TEST(MidiPortsDlgModel, KeepsTheUsersOrderAndAddsNewDevicesLast)
{
    // The map knew devices 2 and 0 in that order; device 1 is new, device 5 gone.
    const Devices devices(3, 2);
    const MidiPortsDlgModel model(maps({{2, 1}, {5, 1}, {0, 0}}, {{0, 1}, {1, 0}}), devices);
    EXPECT_EQ(devicesOf(model.OutItems()), (std::vector<int>{2, 0, 1}));
    EXPECT_EQ(model.OutItems()[0].name, "Out 2");
    EXPECT_EQ(model.OutSelected(), (std::vector<bool>{true, false, false}));
    EXPECT_EQ(devicesOf(model.InItems()), (std::vector<int>{0, 1}));
    EXPECT_EQ(model.InSelected(), (std::vector<bool>{true, false}));
    EXPECT_EQ(model.WarningMessage(), MidiPortsDlgModel::kMsgSelectPorts)
        << "three known entries, three devices";

    const MidiPortsDlgModel fewer(maps({{2, 1}, {0, 0}}, {}), devices);
    EXPECT_EQ(fewer.WarningMessage(), MidiPortsDlgModel::kMsgOutCountChanged);
}

TEST(MidiPortsDlgModel, SelectedPortsTakeTheLowestNumbers)
{
    const Devices devices(3, 3);
    const MidiPortsDlgModel model(maps({{0, 1}, {1, 1}, {2, 0}}, {{0, 1}, {1, 1}, {2, 1}}), devices);
    // Only the second entry of each list stays selected.
    const MidiPortsValues v = model.Ok({false, true, false}, {false, true, false});
    EXPECT_EQ(v.out[0], (UserMidiPortMap::Entry{1, 1}));
    EXPECT_EQ(v.out[1], (UserMidiPortMap::Entry{0, 0}));
    EXPECT_EQ(v.out[2], (UserMidiPortMap::Entry{2, 0}));
    EXPECT_EQ(v.out[3], (UserMidiPortMap::Entry{255, 0}));
    EXPECT_EQ(v.in[0], (UserMidiPortMap::Entry{0, 0}));
    EXPECT_EQ(v.in[1], (UserMidiPortMap::Entry{1, 1}));
    EXPECT_EQ(v.in[2], (UserMidiPortMap::Entry{2, 0}));
    EXPECT_EQ(v.in[3], (UserMidiPortMap::Entry{255, 0}));
}

TEST(MidiPortsDlgModel, EmptyListsAreWarnedAboutOutFirst)
{
    using M = MidiPortsDlgModel;
    EXPECT_EQ(M::MissingSelections({false, false}, {false}),
              (std::vector<int>{M::kMsgNoOutPorts, M::kMsgNoInPorts}));
    EXPECT_EQ(M::MissingSelections({true}, {}), (std::vector<int>{M::kMsgNoInPorts}));
    EXPECT_EQ(M::MissingSelections({false, true}, {true}), std::vector<int>{});

    // Going on without ports: every entry is disabled, none is lost.
    const MidiPortsDlgModel model(maps({{1, 1}, {0, 1}}, {{0, 1}}), Devices(2, 1));
    const MidiPortsValues v = model.Ok({false, false}, {false});
    EXPECT_EQ(v.out[0], (UserMidiPortMap::Entry{1, 0}));
    EXPECT_EQ(v.out[1], (UserMidiPortMap::Entry{0, 0}));
    EXPECT_EQ(v.in[0], (UserMidiPortMap::Entry{0, 0}));
}

} // namespace
} // namespace zib
