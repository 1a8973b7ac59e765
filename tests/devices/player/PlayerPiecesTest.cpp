#include "devices/core/CMeasureTable.h"
#include "devices/core/CPlayerSlot.h"
#include "devices/core/CStreamBuffers.h"
#include "devices/core/MetronomeSettings.h"
#include "devices/core/PlaybackTexts.h"
#include "midi/CMidiParserEx.h"
#include "tests/support/SmfBuilder.h"

#include <gtest/gtest.h>

#include <string>

namespace zib {
namespace {

TEST(PlaybackTextsTest, NoteNamesInTheSixAlphabets)
{
    struct Case {
        int note, alphabet;
        const char* text;
    };
    const Case cases[] = {
        {60, 0, "C4"},  {61, 1, "s#4"}, {71, 2, "Ti4"}, {63, 3, "g-4"},  {68, 4, "Dha-4"},
        {71, 5, "Si4"}, {0, 0, "C-1"},  {127, 0, "G9"}, {60, 6, "C4"},   {66, 9, "F#4"},
    };
    for (const Case& c : cases) EXPECT_STREQ(GetNoteOctaveText(c.note, c.alphabet), c.text) << c.note << " " << c.alphabet;
}

TEST(PlaybackTextsTest, PositionMarkerAndTempoFormats)
{
    EXPECT_EQ(FormatPositionText(0, 0, 0), "  1:01:000    ");
    EXPECT_EQ(FormatPositionText(122, 3, 95), "123:04:095    ");
    EXPECT_EQ(FormatMarkerText(0, 1, 7), "001:02:007    ");
    EXPECT_EQ(FormatTempoText(96), " 96");
}

struct CountingPlayer : IZibPlayer {
    void StartPlayer() override { ++starts; }
    void StopPlayer() override { ++stops; }
    int starts = 0, stops = 0;
};

TEST(PlayerSlotTest, PlayStopStartsTheGivenPlayerOrStopsTheActiveOne)
{
    CPlayerSlot slot;
    CountingPlayer bar, console;
    slot.StartStopPlayer(&bar, PlayerKind::MidiBarView);
    EXPECT_EQ(bar.starts, 1);
    slot.SetPlaying(&console, PlayerKind::StylePlaybackConsole);
    slot.StartStopPlayer(&bar, PlayerKind::MidiBarView);
    EXPECT_EQ(console.stops, 1) << "the one that plays is stopped, whoever asks";
    EXPECT_EQ(bar.starts, 1);
    slot.Clear();
    EXPECT_FALSE(slot.IsPlaying());
    EXPECT_EQ(slot.ActivePlayer(), nullptr);
}

TEST(MetronomeSettingsTest, ModesSoundForPlaybackAndRecording)
{
    MetronomeSettings m;
    const int modes[] = {MetronomeSettings::kOff, MetronomeSettings::kWhenRecording, MetronomeSettings::kAlways,
                         MetronomeSettings::kBoth};
    const bool playing[] = {false, false, true, true};
    const bool recording[] = {false, true, true, true};
    for (int i = 0; i < 4; ++i) {
        m.mode = modes[i];
        EXPECT_EQ(m.SoundsFor(false), playing[i]) << m.mode;
        EXPECT_EQ(m.SoundsFor(true), recording[i]) << m.mode;
    }
}

TEST(MeasureTableTest, RowsFollowTheSignaturesAndTheLimitHolds)
{
    test::SmfBuilder b(1, 96);
    b.AddTrack().TimeSig(0, 3, 3).TimeSig(288, 7, 2); // 3/8, then 7/4
    b.AddTrack().NoteOn(0, 0, 60, 1).NoteOff(100, 0, 60).NoteOn(300, 0, 62, 1).NoteOff(301, 0, 62);
    const auto image = b.Build();
    CMidiParserEx seq;
    ASSERT_EQ(seq.ParseImage(image.data(), uint32_t(image.size())), 0);
    CMeasureTable table;
    ASSERT_TRUE(table.Build(seq));
    EXPECT_EQ(table.At(0).length, 144u);
    EXPECT_EQ(table.At(2).startTick, 288u);
    EXPECT_EQ(table.At(2).length, 672u);
    EXPECT_EQ(table.At(1999).length, 672u) << "past the song the last signature continues";
    EXPECT_EQ(table.At(2).firstEvent, 3u); // the 7/4 signature opens measure 3
    uint32_t m = 0, beat = 0, tick = 0;
    table.TicksToMbt(288 + 2 * 96 + 5, m, beat, tick);
    EXPECT_EQ((std::array<uint32_t, 3>{m, beat, tick}), (std::array<uint32_t, 3>{2, 2, 5}));

    test::SmfBuilder longSong(1, 96);
    longSong.AddTrack().TimeSig(0, 4, 2);
    longSong.AddTrack().NoteOn(0, 0, 60, 1).NoteOff(1999u * 384, 0, 60);
    const auto tooLong = longSong.Build();
    ASSERT_EQ(seq.ParseImage(tooLong.data(), uint32_t(tooLong.size())), 0);
    EXPECT_FALSE(table.Build(seq));
}

TEST(StreamBuffersTest, TenBuffersThatHoldTheLargestWholeSystemExclusive)
{
    CStreamBuffers buffers;
    EXPECT_FALSE(buffers.IsAllocated());
    ASSERT_TRUE(buffers.Alloc());
    ByteWriter& b = buffers.Buffer(9);
    const uint8_t* data = b.data();
    EXPECT_TRUE(b.fill(0, CStreamBuffers::kCapacity));
    EXPECT_EQ(b.data(), data) << "writing never moves a buffer";
    EXPECT_FALSE(b.u8(0)) << "a buffer never grows past its capacity";
}

} // namespace
} // namespace zib
