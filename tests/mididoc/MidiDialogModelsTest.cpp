#include "mididoc/core/MetronomDlgModel.h"
#include "mididoc/core/MidiRecordSettingsDlgModel.h"
#include "mididoc/core/PasteEventsDlgModel.h"
#include "mididoc/core/TempoDlgModel.h"
#include "mididoc/core/TrackPropertiesDlgModel.h"

#include <gtest/gtest.h>

#include <functional>

using namespace zib;

namespace {

// Two enabled OUT ports (0 and 2) of three devices, a GM-like instrument on
// port 0 channel 0 with two numbered banks and one without number.
TrackPropertiesSources sources()
{
    TrackPropertiesSources s;
    TrackPropertiesSources::Instrument def{"default", {}};
    TrackPropertiesSources::Bank any{-1, "General MIDI", {}};
    any.patches[0] = "Piano";
    def.banks.push_back(any);
    TrackPropertiesSources::Instrument synth{"Synth", {}};
    TrackPropertiesSources::Bank b0{0, "Main", {}};
    b0.patches[0] = "Grand";
    b0.patches[5] = "EP";
    TrackPropertiesSources::Bank b300{300, "User", {}};
    b300.patches[1] = "Pad";
    synth.banks = {b0, b300};
    s.instruments = {def, synth};
    s.relations = {{0, 0, "SYNTH"}};
    s.outDeviceCount = 3;
    s.outPorts[0] = {0, 1};
    s.outPorts[1] = {1, 0};
    s.outPorts[2] = {2, 1};
    s.portNames[0] = "Port A";
    s.portNames[2] = "Port C";
    s.portNames[5] = "Gone";
    return s;
}

TrackProperties track()
{
    TrackProperties t;
    t.trackNumber = 3;
    t.name = "Bass";
    t.input = 2;
    t.channel = 0;
    t.port = 0;
    t.bank = 0x0000;
    t.program = 5;
    t.volume = 100;
    t.pan = 64;
    return t;
}

} // namespace

TEST(TrackPropertiesDlgModel, ListsComeFromThePortsInstrumentsAndRelations)
{
    TrackPropertiesDlgModel m(track(), sources());
    EXPECT_EQ(m.InstrumentName(), "SYNTH");
    EXPECT_EQ(m.DefinitionIndex(), 1) << "names match without regard to case";
    ASSERT_EQ(m.Ports().size(), 2u);
    EXPECT_EQ(m.Ports()[0], (TrackPropertiesDlgModel::Entry{"  1 - SYNTH", 0}));
    EXPECT_EQ(m.Ports()[1], (TrackPropertiesDlgModel::Entry{"  2 - Port C", 2}));
    EXPECT_EQ(m.PortSelection(), 0);
    ASSERT_EQ(m.Banks().size(), 2u);
    EXPECT_EQ(m.Banks()[1], (TrackPropertiesDlgModel::Entry{"300-User", 300}));
    EXPECT_EQ(m.BankSelection(), 0);
    EXPECT_EQ(m.Patches().size(), 129u);
    EXPECT_EQ(m.Patches()[6], (TrackPropertiesDlgModel::Entry{"5-EP", 5}));
    EXPECT_EQ(m.Patches()[2], (TrackPropertiesDlgModel::Entry{"1", 1}));
    EXPECT_EQ(m.PatchSelection(), 6);
    EXPECT_EQ(m.ChannelSelection(), 1);
    EXPECT_EQ(m.InputSelection(), 3); // <Undefined>, Omni, Channel 1, Channel 2
    EXPECT_EQ(m.Inputs()[3].text, "MIDI Channel  2");

    // A channel with no relation takes the first definition; choosing a bank refills the patches.
    m.ChooseChannel(4);
    EXPECT_EQ(m.InstrumentName(), "");
    EXPECT_EQ(m.DefinitionIndex(), 0);
    EXPECT_EQ(m.Ports()[0].text, "  1 - Port A");
    ASSERT_EQ(m.Banks().size(), 1u);
    EXPECT_EQ(m.Banks()[0], (TrackPropertiesDlgModel::Entry{"<Undefined>", -1}));
    EXPECT_EQ(m.Patches()[1].text, "0-Piano");
}

TEST(TrackPropertiesDlgModel, TypedBankSplitsIntoMsbAndLsbAndRefusesTooLarge)
{
    TrackPropertiesDlgModel m(track(), sources());
    EXPECT_EQ(m.TypeBank("300"), "300");
    EXPECT_EQ(m.Patches()[2].text, "1-Pad");
    EXPECT_EQ(m.TypeBank("20000"), "300") << "the previous bank stays";
    EXPECT_EQ(m.TypeBank("abc"), "300");
    const TrackProperties r = m.Ok(m.ChannelSelection(), m.InputSelection(), m.PortSelection(), "Bass");
    EXPECT_EQ(r.bank >> 8, 2);
    EXPECT_EQ(r.bank & 0xFF, 44);
    EXPECT_TRUE(r.changed);
}

TEST(TrackPropertiesDlgModel, EdgeCasesOfTheTrackValues)
{
    // Channel 255 lists no numbered banks; the box shows the bank number.
    TrackProperties none = track();
    none.channel = 255;
    none.bank = 0x0105; // MSB 1, LSB 5: bank 133
    TrackPropertiesDlgModel noChannel(none, sources());
    EXPECT_EQ(noChannel.ChannelSelection(), 0);
    EXPECT_EQ(noChannel.BankSelection(), -1);
    EXPECT_EQ(noChannel.BankText(), "133");
    for (const auto& e : noChannel.Banks()) EXPECT_LT(e.data, 0) << e.text;

    // Unchanged values leave the flag clear.
    TrackPropertiesDlgModel same(track(), sources());
    EXPECT_FALSE(same.Ok(same.ChannelSelection(), same.InputSelection(), same.PortSelection(), "Bass").changed);

    // A port that is no longer offered gets an entry of its own and stays.
    TrackProperties gone = track();
    gone.port = 5;
    TrackPropertiesDlgModel missing(gone, sources());
    ASSERT_EQ(missing.Ports().size(), 3u);
    EXPECT_EQ(missing.Ports()[2], (TrackPropertiesDlgModel::Entry{"Gone", 5}));
    EXPECT_EQ(missing.PortSelection(), 2);
    EXPECT_EQ(missing.Ok(0, 0, missing.PortSelection(), "Bass").port, 5);

    // A set of input channels has no entry and survives OK with all its bits.
    TrackProperties set = track();
    set.input = 18 | 0x8001u << 16;
    TrackPropertiesDlgModel channels(set, sources());
    EXPECT_EQ(channels.InputSelection(), -1);
    const TrackProperties kept = channels.Ok(channels.ChannelSelection(), -1, channels.PortSelection(), "Bass");
    EXPECT_EQ(kept.input, set.input);
    EXPECT_FALSE(kept.changed);

    // Volume 300 puts the previous value back; no bank gives MSB 255 and keeps the LSB.
    TrackPropertiesDlgModel levels(track(), sources());
    EXPECT_EQ(levels.TypeVolume("300"), "100");
    EXPECT_FALSE(levels.TypeVolume("90"));
    EXPECT_EQ(levels.TypePan("128"), "64");
    levels.ChooseBank(-1);
    levels.ChoosePatch(-1);
    const TrackProperties r = levels.Ok(1, 3, 0, "Bass 2");
    EXPECT_EQ(r.volume, 90);
    EXPECT_EQ(r.bank, 0xFF00);
    EXPECT_EQ(r.program, 255);
    EXPECT_EQ(r.name, "Bass 2");
}

// A new track stores bank, patch, volume and pan only as events of a
// channel: OK asks for one while the channel is left "<undefined>".
TEST(TrackPropertiesDlgModel, ANewTrackNeedsAChannelForItsFirstValues)
{
    TrackProperties empty;
    empty.trackNumber = 9;
    empty.channel = 255;
    empty.bank = 0xFF00;
    empty.program = 255;
    empty.volume = 100;
    empty.pan = 0;
    empty.channelEvents = false;
    struct Case {
        const char* what;
        std::function<void(TrackPropertiesDlgModel&)> edit;
        bool needsChannel;
    };
    const Case cases[] = {
        {"nothing typed", [](TrackPropertiesDlgModel&) {}, false},
        {"volume", [](TrackPropertiesDlgModel& m) { m.TypeVolume("90"); }, true},
        {"pan", [](TrackPropertiesDlgModel& m) { m.TypePan("20"); }, true},
        {"patch", [](TrackPropertiesDlgModel& m) { m.ChoosePatch(3); }, true},
        {"bank", [](TrackPropertiesDlgModel& m) { m.TypeBank("130"); }, true},
        {"the same volume again", [](TrackPropertiesDlgModel& m) { m.TypeVolume("100"); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TrackPropertiesDlgModel m(empty, sources());
        c.edit(m);
        EXPECT_EQ(m.NeedsChannel(m.ChannelSelection()), c.needsChannel);
        // A channel chosen, or a track whose events have a channel, is fine.
        EXPECT_FALSE(m.NeedsChannel(1 + 6));
        TrackProperties used = empty;
        used.channelEvents = true;
        TrackPropertiesDlgModel mixed(used, sources());
        c.edit(mixed);
        EXPECT_FALSE(mixed.NeedsChannel(mixed.ChannelSelection()));
    }
    // The values stay as typed for the OK that follows a chosen channel.
    TrackPropertiesDlgModel m(empty, sources());
    m.TypeVolume("90");
    ASSERT_TRUE(m.NeedsChannel(0));
    m.ChooseChannel(6);
    const TrackProperties r = m.Ok(7, 0, m.PortSelection(), "");
    EXPECT_EQ(r.channel, 6);
    EXPECT_EQ(r.volume, 90);
    EXPECT_TRUE(r.changed);
}

TEST(TrackPropertiesDlgModel, FocusFollowsTheClickedColumn)
{
    using F = TrackPropertiesDlgModel::Focus;
    const std::pair<int, F> cases[] = {{0, F::Name}, {4, F::Name}, {5, F::Channel}, {6, F::Input}, {7, F::Port},
                                       {8, F::Bank}, {9, F::Patch}, {10, F::Volume}, {11, F::Pan}, {12, F::Name}};
    for (auto [column, focus] : cases) {
        TrackProperties t = track();
        t.column = column;
        EXPECT_EQ(TrackPropertiesDlgModel(t, sources()).InitialFocus(), focus) << column;
    }
    // Without loaded definitions there is no bank, and patches are numbers.
    TrackPropertiesSources bare = sources();
    bare.instruments.clear();
    TrackPropertiesDlgModel m(track(), bare);
    EXPECT_EQ(m.DefinitionIndex(), -1);
    EXPECT_TRUE(m.Banks().empty());
    EXPECT_EQ(m.Patches()[6].text, "5");
}

TEST(MidiRecordSettingsDlgModel, MaskAndChecks)
{
    MidiRecordSettingsDlgModel m{0x8001};
    const auto checks = m.Checks();
    EXPECT_TRUE(checks[0]);
    EXPECT_TRUE(checks[15]);
    EXPECT_EQ(std::count(checks.begin(), checks.end(), true), 2);
    std::array<bool, 16> some{};
    some[1] = some[9] = true;
    m.Ok(some);
    EXPECT_EQ(m.echoMask, 0x0202);
}

TEST(TempoDlgModel, TempoStaysWithinFourTo250)
{
    EXPECT_EQ(TempoDlgModel(300, 0).Tempo(), 250);
    EXPECT_EQ(TempoDlgModel(0, 0).Tempo(), 4);
    TempoDlgModel m(120, 96);
    EXPECT_EQ(m.TypeTempo("251"), "120");
    EXPECT_FALSE(m.TypeTempo("2")); // on the way to 200 or refused at OK
    const struct {
        const char* typed;
        int tempo;
    } cases[] = {{"0", 120}, {"3", 120}, {"4", 4}, {"250", 250}, {"251", 250}, {"x", 250}, {"90", 90}};
    for (const auto& c : cases) {
        m.Ok(c.typed, 480);
        EXPECT_EQ(m.Tempo(), c.tempo) << c.typed;
    }
    EXPECT_EQ(m.Tick(), 480u);
}

TEST(PasteEventsDlgModel, KindsTracksAndDetails)
{
    PasteOptions only;
    only.kinds = {false, false, true, false};
    PasteEventsDlgModel m(only);
    EXPECT_FALSE(m.KindEnabled(PasteOptions::TrackEvents));
    EXPECT_TRUE(m.KindEnabled(PasteOptions::TempoChanges));
    EXPECT_FALSE(m.DetailsShown());
    EXPECT_EQ(m.DetailsButtonText(), "Show More Details");
    m.ToggleDetails();
    EXPECT_EQ(m.DetailsButtonText(), "Show Less Details");

    EXPECT_EQ(m.TypeStartTrack("99"), "64");
    EXPECT_FALSE(m.TypeStartTrack("12"));
    const struct {
        const char* typed;
        int track;
    } cases[] = {{"0", 1}, {"99", 64}, {"12", 12}, {"", 1}};
    for (const auto& c : cases)
        EXPECT_EQ(m.Ok(0, c.typed, false, {true, true, true, true}).startTrack, c.track) << c.typed;
    const PasteOptions r = m.Ok(960, "5", true, {true, true, true, true});
    EXPECT_EQ(r.startTick, 960u);
    EXPECT_TRUE(r.oneTrack);
    EXPECT_EQ(r.kinds, (std::array<bool, 4>{false, false, true, false}));

    // A one-track flag given set stays set; a list paste keeps track and flag.
    PasteOptions fixed;
    fixed.oneTrack = true;
    EXPECT_FALSE(PasteEventsDlgModel(fixed).OneTrackEditable());
    EXPECT_TRUE(PasteEventsDlgModel(fixed).Ok(0, "3", false, fixed.kinds).oneTrack);
    PasteOptions list;
    list.mode = 2;
    list.startTrack = 7;
    EXPECT_FALSE(PasteEventsDlgModel(list).TrackControlsEnabled());
    EXPECT_EQ(PasteEventsDlgModel(list).Ok(0, "30", true, list.kinds).startTrack, 7);
}

TEST(MetronomDlgModel, ClampsChannelsPortsAndCounts)
{
    MetronomeSettings given;
    given.channel = 20;
    given.port = 7;
    given.precountNumber = 30;
    given.mode = 3;
    given.firstBeatKey = 76;
    MetronomDlgModel m(given, 2);
    using F = MetronomDlgModel::Field;
    EXPECT_EQ(m.Value(F::Channel), 10);
    EXPECT_EQ(m.Value(F::Port), 1);
    EXPECT_EQ(m.Value(F::PreCount), 20);
    EXPECT_TRUE(m.PlaybackChecked());
    EXPECT_TRUE(m.RecordingChecked());
    EXPECT_EQ(MetronomDlgModel::KeyText(76), "E5");
    EXPECT_EQ(m.StepFirstKey(+1), "F5");

    EXPECT_EQ(m.Type(F::Channel, "17"), "10");
    EXPECT_EQ(m.Type(F::Port, "3"), "1");
    EXPECT_EQ(m.Type(F::Duration, "21"), "6");
    EXPECT_EQ(m.Type(F::FirstVelocity, "200"), "127");
    EXPECT_FALSE(m.Type(F::Channel, "0"));
    MetronomeSettings r = m.Ok(true, false, false);
    EXPECT_EQ(r.channel, 0) << "a typed channel 0 is the first channel";
    EXPECT_EQ(r.mode, 2);
    EXPECT_EQ(r.precountUnit, 1);
    EXPECT_EQ(r.firstBeatKey, 77);

    EXPECT_FALSE(m.Type(F::Channel, "16"));
    EXPECT_FALSE(m.Type(F::Port, "0"));
    r = m.Ok(false, false, true);
    EXPECT_EQ(r.channel, 15);
    EXPECT_EQ(r.port, 255) << "a typed port 0 names no port";
    EXPECT_EQ(r.mode, 0);
    EXPECT_FALSE(m.Type(F::Port, "2"));
    EXPECT_EQ(m.Ok(false, true, true).port, 1);
}
