// The wx-free models of the player window, the Record Input dialog and the
// bar view's transport routing.

#include "devices/core/BarViewCommands.h"
#include "devices/core/PlayMidiFileModel.h"
#include "devices/core/RecordInputDlgModel.h"
#include "tests/support/PlaybackFakes.h"
#include "tests/support/SmfBuilder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace zib {
namespace {

using Choice = RecordInputDlgModel::Choice;
using test::FakePlaybackHost;
using test::FakePlaybackUi;
using test::SmfBuilder;

TEST(RecordInputDlgModelTest, CodesShowAsTheirTexts)
{
    struct Case {
        uint32_t code;
        const char* text;
    };
    const Case cases[] = {
        {5, "MIDI Chan: 5"},
        {17, "MIDI Omni"},
        {18 | (1u << 0 | 1u << 9) << 16, "MIDI Chan: 1, 10, "},
        {18, "<Undefined>"},
        {0, "<Undefined>"},
        {19, "<Undefined>"},
        {0x00050003, "MIDI Chan: 3"}, // the high word means nothing to a single channel
    };
    for (const Case& c : cases) EXPECT_EQ(RecordInputDlgModel::CodeText(c.code), c.text) << c.code;
}

TEST(RecordInputDlgModelTest, TheControlsEditTheSelectedTracksCode)
{
    std::array<uint32_t, 64> codes{};
    codes[3] = 7;
    RecordInputDlgModel m(codes, 70); // beyond the tracks: track 1
    EXPECT_EQ(m.Selected(), 0);
    EXPECT_EQ(m.ShownChoice(), Choice::Undefined);
    EXPECT_FALSE(m.BoxesEnabled());

    // "MIDI Channels" with no box: undefined, and 0 once the row is left
    m.Choose(Choice::Channels);
    EXPECT_EQ(m.RowText(0), "<Undefined>");
    EXPECT_TRUE(m.BoxesEnabled());
    m.SelectRow(3);
    EXPECT_EQ(m.Codes()[0], 0u);
    EXPECT_TRUE(m.BoxChecked(6)); // channel 7's box
    EXPECT_FALSE(m.BoxChecked(5));

    // A box on a single channel makes a mask of both
    m.SetBox(0, true);
    EXPECT_EQ(m.RowText(3), "MIDI Chan: 1, 7, ");
    m.SetBox(6, false);
    EXPECT_EQ(m.RowText(3), "MIDI Chan: 1, ");
    m.Choose(Choice::AllChannels);
    EXPECT_EQ(m.Codes()[3], 17u);
    EXPECT_FALSE(m.BoxesEnabled());
    m.SetBox(2, true); // disabled boxes change nothing
    EXPECT_EQ(m.Codes()[3], 17u);
    m.SelectRow(64); // outside: ignored
    EXPECT_EQ(m.Selected(), 3);

    // OK: one box gives its channel's code, none gives 0, more stay a mask
    m.SelectRow(1);
    m.Choose(Choice::Channels);
    m.SetBox(4, true);
    m.SelectRow(2);
    m.Choose(Choice::Channels);
    m.SetBox(0, true);
    m.SetBox(9, true);
    m.SelectRow(5);
    m.Choose(Choice::Channels);
    m.Normalise();
    EXPECT_EQ(m.Codes()[1], 5u);
    EXPECT_EQ(m.RowText(1), "MIDI Chan: 5");
    EXPECT_EQ(m.Codes()[2], 18u | (1u << 0 | 1u << 9) << 16);
    EXPECT_EQ(m.Codes()[5], 0u);
}

std::vector<uint8_t> shortSong()
{
    SmfBuilder b(1, 96);
    b.AddTrack().Tempo(0, 500000);
    b.AddTrack().Port(0, 3).NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60);
    b.AddTrack().Port(0, 5).NoteOn(0, 1, 64, 100).NoteOff(96, 1, 64);
    return b.Build();
}

// The window's rig: the app's fake host, the window's display, the file
struct PlayerWindowRig {
    PlayerWindowRig()
    {
        path = dir.path() / "TmpRary.mid";
        const auto image = shortSong();
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));
    }
    void RunFor(int64_t us)
    {
        for (int64_t t = 0; t < us; t += 1000) {
            host.clock->Advance(1000);
            if (model && model->Engine()) model->Engine()->DeliverUi();
        }
    }
    test::TempDir dir;
    std::filesystem::path path;
    FakePlaybackHost host;
    FakePlaybackUi ui;
    uint8_t flag = 9;
    std::unique_ptr<PlayMidiFileModel> model;
};

TEST(PlayMidiFileModelTest, PlaysEveryTrackOnTheChosenDeviceAndDeletesTheFileWhenClosed)
{
    PlayerWindowRig rig;
    rig.model = std::make_unique<PlayMidiFileModel>(rig.path, &rig.flag, rig.host, 2, rig.ui);
    ASSERT_TRUE(rig.model->Open());
    EXPECT_EQ(rig.flag, 1);
    EXPECT_TRUE(rig.model->IsPlaying());
    rig.RunFor(1'500'000);
    EXPECT_FALSE(rig.model->IsPlaying());
    std::vector<std::string> notes;
    for (const auto& s : rig.host.fake->SentMessages())
        if ((s.bytes[0] & 0xE0) == 0x80) notes.push_back(s.device);
    EXPECT_EQ(notes, (std::vector<std::string>(4, "Test:B"))); // ports 3 and 5 of the file: all on device 2
    rig.model->Play(); // again, from the top
    EXPECT_TRUE(rig.model->IsPlaying());
    rig.RunFor(400'000); // the note-offs are filled, not yet played
    rig.model.reset();     // closed while playing
    EXPECT_FALSE(std::filesystem::exists(rig.path));
    EXPECT_EQ(rig.flag, 0);
    EXPECT_EQ(rig.host.playing.load(), 0);
    EXPECT_EQ(rig.host.fake->OpenOutputCount(), 0);
    const auto sent = rig.host.fake->SentMessages();
    ASSERT_GE(sent.size(), 2u); // no note left hanging
    EXPECT_EQ(sent[sent.size() - 2].bytes, (std::vector<uint8_t>{0x90, 0x3C, 0x00}));
    EXPECT_EQ(sent.back().bytes, (std::vector<uint8_t>{0x91, 0x40, 0x00}));
}

TEST(PlayMidiFileModelTest, AFileThatCannotBeReadLeavesTheFlagAndIsStillDeleted)
{
    PlayerWindowRig rig;
    std::ofstream(rig.path, std::ios::binary | std::ios::trunc) << "MThd broken";
    rig.model = std::make_unique<PlayMidiFileModel>(rig.path, &rig.flag, rig.host, 1, rig.ui);
    EXPECT_FALSE(rig.model->Open());
    EXPECT_EQ(rig.flag, 9);
    rig.model->Close();
    EXPECT_FALSE(std::filesystem::exists(rig.path));
    // A device that is not there: the synth plays in its place.
    PlayerWindowRig other;
    other.model = std::make_unique<PlayMidiFileModel>(other.path, &other.flag, other.host, 40, other.ui);
    ASSERT_TRUE(other.model->Open());
    other.RunFor(1'500'000);
    EXPECT_EQ(other.host.fake->SentMessages().back().device, MidiDeviceList::kSynthName);
}

TEST(BarViewCommandsTest, TransportCommandsReachTheEngine)
{
    test::PlaybackRig rig(shortSong());
    ASSERT_TRUE(rig.engine.PrepareForDocument());
    EXPECT_FALSE(RouteBarViewCommand(12345, rig.engine, rig.host.slot));
    EXPECT_TRUE(RouteBarViewCommand(barcmd::NextMeasure, rig.engine, rig.host.slot));
    EXPECT_EQ(rig.engine.PositionMeasure(), 1u);
    EXPECT_TRUE(RouteBarViewCommand(barcmd::SetThru, rig.engine, rig.host.slot)); // before the measure
    EXPECT_EQ(rig.engine.Thru().tick, 383u);
    EXPECT_TRUE(RouteBarViewCommand(barcmd::Rewind, rig.engine, rig.host.slot));
    EXPECT_EQ(rig.engine.PositionMeasure(), 0u);
    EXPECT_TRUE(RouteBarViewCommand(barcmd::Play, rig.engine, rig.host.slot));
    EXPECT_EQ(rig.host.playing.load(), 1);
    EXPECT_TRUE(RouteBarViewCommand(barcmd::Stop, rig.engine, rig.host.slot));
    EXPECT_EQ(rig.engine.GetState(), PlaybackEngine::State::StopPending);
    EXPECT_TRUE(rig.RunUntilFinished());
    EXPECT_TRUE(RouteBarViewCommand(barcmd::Record, rig.engine, rig.host.slot)); // records, and starts
    EXPECT_TRUE(rig.doc.record);
    EXPECT_EQ(rig.host.playing.load(), 1);
    EXPECT_TRUE(RouteBarViewCommand(barcmd::Record, rig.engine, rig.host.slot)); // off again, still playing
    EXPECT_FALSE(rig.doc.record);
    EXPECT_EQ(rig.host.playing.load(), 1);
    RouteBarViewCommand(barcmd::Play, rig.engine, rig.host.slot);
    EXPECT_TRUE(rig.RunUntilFinished());
}

} // namespace
} // namespace zib
