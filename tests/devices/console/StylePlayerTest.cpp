// The style playback console's player over built styles and a recording
// output: what goes out, buffer by buffer, as the stream reports each done.
#include "devices/core/StylePlayer.h"

#include "devices/core/ChordNames.h"

#include "devices/core/StyleTrackChannels.h"
#include "tests/devices/console/ConsoleStyleFixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace zib {
// Named, so that its helpers stay apart from other test files built with it.
namespace style_player_test {

using test::ConsoleStyle;

// One stream event as it went out.
struct Sent {
    uint32_t delta;
    uint32_t word;
    friend bool operator==(const Sent&, const Sent&) = default;
};

std::ostream& operator<<(std::ostream& out, const Sent& s)
{
    return out << "{" << s.delta << ", 0x" << std::hex << s.word << std::dec << "}";
}

uint32_t word(int status, int data1, int data2 = 0)
{
    return uint32_t(status) | uint32_t(data1) << 8 | uint32_t(data2) << 16;
}

// An output that keeps what it is asked to do.
class RecordingOutput : public StylePlayerOutput {
public:
    uint32_t Open(uint16_t division, uint32_t tempo) override
    {
        log.push_back("open " + std::to_string(division) + " " + std::to_string(tempo));
        return openError;
    }
    uint32_t SetTempo(uint32_t tempo) override
    {
        log.push_back("tempo " + std::to_string(tempo));
        return 0;
    }
    uint32_t Queue(std::span<const uint8_t> bytes) override
    {
        std::vector<Sent> events;
        for (size_t i = 0; i + 12 <= bytes.size(); i += 12) {
            auto le = [&](size_t at) {
                return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
                       uint32_t(bytes[at + 3]) << 24;
            };
            EXPECT_EQ(le(i + 4), 0u) << "stream id";
            events.push_back({le(i), le(i + 8)});
        }
        buffers.push_back(events);
        return 0;
    }
    uint32_t Restart() override
    {
        log.push_back("restart");
        return 0;
    }
    void Close(std::span<const uint32_t> noteOffs) override
    {
        closedWith.assign(noteOffs.begin(), noteOffs.end());
        log.push_back("close");
    }

    uint32_t openError = 0;
    std::vector<std::string> log;
    std::vector<std::vector<Sent>> buffers;
    std::vector<uint32_t> closedWith;
};

// Offsets of its own: every lookup gives `offset`.
class FlatTensions : public TensionSource {
public:
    explicit FlatTensions(int32_t offset = 0) : offset_(offset) {}
    int32_t QeTension(uint8_t, uint8_t, int32_t, uint8_t, int32_t, int32_t) const override { return offset_; }
    int32_t WqSeriesTension(uint8_t, int32_t, uint8_t, int32_t, int32_t) const override { return offset_; }

private:
    int32_t offset_;
};

constexpr int kAcc1 = 11; // Qe ACC1 channel (zero-based)
constexpr int kDrum = 9;

class StylePlayerTest : public ::testing::Test {
protected:
    explicit StylePlayerTest(bool qe = true) : style(qe) {}

    void Make()
    {
        player = std::make_unique<StylePlayer>(style.reader, output, tensions);
        player->Open();
    }
    // The next buffer after one done report.
    std::vector<Sent> Done()
    {
        const size_t before = output.buffers.size();
        last = player->OnBufferDone();
        if (output.buffers.size() == before) return {};
        return output.buffers.back();
    }

    ConsoleStyle style;
    RecordingOutput output;
    FlatTensions tensions;
    std::unique_ptr<StylePlayer> player;
    StylePlayer::Result last;
};

TEST_F(StylePlayerTest, OpensOnTheIntroWhenTheStyleHasOne)
{
    style.AddPattern(0, 0, 96, {{0, 48, kAcc1, 60}});
    Make();
    EXPECT_EQ(player->LitElement(), 0) << "no INTRO1: VAR1";
    EXPECT_EQ(player->Tempo(), 80);
    EXPECT_EQ(player->ChordText(), "C");
    EXPECT_EQ(player->TrackCount(), 8);
    EXPECT_EQ(player->TrackVolume(7), 90);
    EXPECT_EQ(player->ElementLabel(6), "FILL1");
    EXPECT_FALSE(player->HasElement(4));

    style.AddPattern(4, 2, 96, {{0, 48, kAcc1, 60}});
    style.reader.elements[4].chordAssign[0] = 2;
    Make();
    EXPECT_EQ(player->LitElement(), 4);
    EXPECT_EQ(player->CurrentPlace(), (StylePlace{4, 2})) << "the chord variation assigned to Major";
}

// Start: the stream opens at the style's division and 80 BPM, the element's
// setup goes first, then one event per buffer; a variation loops.
TEST_F(StylePlayerTest, StartsWithTheSetupAndPlaysOneEventPerBuffer)
{
    style.AddPattern(0, 0, 192, {{0, 48, kAcc1, 60}, {96, 144, kAcc1, 64}});
    auto& acc1 = style.reader.elements[0].tracks[3];
    acc1.program = 0x01020005; // bank MSB 1, LSB 2, program 5
    acc1.expression = 100;
    style.reader.elements[0].tracks[2].program = 0x00000021;
    style.reader.elements[0].tracks[2].expression = 255; // none: sent as 127
    Make();
    ASSERT_TRUE(player->Start().ok());
    EXPECT_EQ(output.log, (std::vector<std::string>{"open 96 750000", "restart"}));
    EXPECT_TRUE(player->Playing());

    std::vector<Sent> setup = {
        {0, word(0xB8, 11, 127)}, {0, word(0xB8, 0, 0)}, {0, word(0xB8, 32, 0)}, {0, word(0xC8, 0x21)},
        {0, word(0xBB, 11, 100)}, {0, word(0xBB, 0, 1)}, {0, word(0xBB, 32, 2)}, {0, word(0xCB, 5)},
    };
    for (int channel : {9, 10, 8, 11, 12, 13, 14, 15})
        setup.push_back({0, word(0xB0 | channel, 7, 90)});
    ASSERT_EQ(output.buffers.size(), 1u);
    EXPECT_EQ(output.buffers[0], setup);

    EXPECT_EQ(Done(), (std::vector<Sent>{{0, word(0x9B, 60, 100)}}));
    EXPECT_EQ(Done(), (std::vector<Sent>{{48, word(0x8B, 60, 64)}}));
    EXPECT_EQ(Done(), (std::vector<Sent>{{48, word(0x9B, 64, 100)}}));
    EXPECT_EQ(player->PositionText(), "     1:02");
    EXPECT_EQ(Done(), (std::vector<Sent>{{48, word(0x8B, 64, 64)}}));
    // The list ends at 192: the loop starts again 48 ticks after the last event.
    EXPECT_EQ(Done(), (std::vector<Sent>{{48, word(0x9B, 60, 100)}}));
    EXPECT_TRUE(last.ok());
    EXPECT_TRUE(player->Playing());
}

TEST_F(StylePlayerTest, ALengthShorterThanItsEventsLoopsWithoutWaiting)
{
    style.AddPattern(0, 0, 96, {{0, 48, kAcc1, 60}});
    style.reader.elements[0].variations[0].length = 10; // damaged: ends before its last event
    Make();
    ASSERT_TRUE(player->Start().ok());
    Done();
    Done();
    EXPECT_EQ(Done(), (std::vector<Sent>{{0, word(0x9B, 60, 100)}}));
}

// An intro goes on with VAR1: its first event after the rest of the intro,
// then VAR1's setup; an ending stops the player without a message and hands
// the lamp back to the last variation.
TEST_F(StylePlayerTest, PlaysIntroIntoVariationAndEndingToTheEnd)
{
    style.AddPattern(4, 0, 96, {{0, 48, kAcc1, 60}});
    style.AddPattern(0, 0, 96, {{0, 48, kAcc1, 62}});
    style.AddPattern(8, 0, 48, {{0, 24, kAcc1, 67}});
    style.reader.elements[0].tracks[3].program = 0x00000007;
    style.reader.elements[0].tracks[3].expression = 90;
    Make();
    ASSERT_TRUE(player->Start().ok());
    Done();
    Done();
    EXPECT_EQ(Done(), (std::vector<Sent>{{48, word(0x9B, 62, 100)}}));
    EXPECT_EQ(player->LitElement(), 0);
    const std::vector<Sent> setup = Done();
    ASSERT_EQ(setup.size(), 12u);
    EXPECT_EQ(setup[3], (Sent{0, word(0xCB, 7)}));
    EXPECT_EQ(Done(), (std::vector<Sent>{{48, word(0x8B, 62, 64)}}));

    // END1 waits for the next bar line, which lies past VAR1's list: it
    // starts when that list ends.
    player->SelectElement(8);
    EXPECT_TRUE(player->ChangePending());
    EXPECT_EQ(Done(), (std::vector<Sent>{{48, word(0x9B, 67, 100)}}));
    EXPECT_EQ(player->LitElement(), 8);
    EXPECT_EQ(Done().size(), 8u) << "END1's setup: the volumes";
    EXPECT_EQ(Done(), (std::vector<Sent>{{24, word(0x8B, 67, 64)}}));
    EXPECT_EQ(Done(), std::vector<Sent>{});
    EXPECT_TRUE(last.ok()) << "the end of an ending is no failure";
    EXPECT_FALSE(player->Playing());
    EXPECT_EQ(player->LitElement(), 0);
    EXPECT_EQ(output.log.back(), "close");
    EXPECT_TRUE(output.closedWith.empty()) << "every note had ended";
}

class WqStylePlayerTest : public StylePlayerTest {
protected:
    WqStylePlayerTest() : StylePlayerTest(false) {}
};

// Wq styles: six tracks, the endings at 6-7 and the fills at 8-9; a fill goes
// back to the variation chosen last.
TEST_F(WqStylePlayerTest, FillReturnsToTheLastVariation)
{
    const int acc1 = 12;
    style.AddPattern(1, 0, 96, {{0, 48, acc1, 60}});
    style.AddPattern(8, 0, 48, {{0, 24, acc1, 72}});
    Make();
    EXPECT_EQ(player->TrackCount(), 6);
    EXPECT_EQ(player->ElementLabel(6), "END1");
    EXPECT_EQ(player->ElementLabel(9), "FILL2");
    player->SelectElement(1);
    EXPECT_EQ(player->ReturnVariation(), 1);
    player->SelectElement(8);
    EXPECT_EQ(player->LitElement(), 8);
    ASSERT_TRUE(player->Start().ok());
    EXPECT_EQ(Done(), (std::vector<Sent>{{0, word(0x9C, 72, 100)}}));
    Done();
    EXPECT_EQ(Done(), (std::vector<Sent>{{24, word(0x9C, 60, 100)}}));
    EXPECT_EQ(player->CurrentPlace(), (StylePlace{1, 0}));
}

// A chord played while a note sounds: at the switch point the note ends and
// starts again on the new chord, and its note off ends the new pitch.
TEST_F(StylePlayerTest, ChordChangeRestartsTheSoundingNotes)
{
    style.AddPattern(0, 0, 192, {{0, 48, kAcc1, 60}, {96, 144, kAcc1, 64}, {96, 150, kDrum, 36}});
    Make();
    ASSERT_TRUE(player->Start().ok());
    Done();
    Done();
    Done();
    Done(); // the drum note at 96
    EXPECT_TRUE(player->Key(50, true)) << "D alone: arm the timer";
    EXPECT_TRUE(player->ChordTimerArmed());
    player->Key(50, false);
    EXPECT_EQ(player->OnChordTimer(), FormatChordDisplay({2, 21, 0}));
    EXPECT_TRUE(player->ChangePending());
    EXPECT_EQ(player->PendingTicks(), (SwitchTicks{96, 96}));
    EXPECT_FALSE(player->KeysPlay());

    EXPECT_EQ(Done(), (std::vector<Sent>{{0, word(0x9B, 64, 0)}, {0, word(0x9B, 66, 100)}}));
    EXPECT_FALSE(player->ChangePending());
    EXPECT_EQ(player->CurrentChord(), (Chord{2, 21, 0}));
    EXPECT_EQ(Done(), (std::vector<Sent>{{48, word(0x8B, 66, 64)}}));
    EXPECT_EQ(Done(), (std::vector<Sent>{{6, word(0x89, 36, 64)}})) << "the drum plays as recorded";
}

// Another element at the switch tick: with notes sounding, one buffer ends
// them, sets up the new element's sounds and starts its notes that sound
// across the entry tick; without, play goes on at the new pattern's next
// event and the setup follows it.
TEST_F(StylePlayerTest, SwitchesElementsAtTheSwitchTick)
{
    style.AddPattern(0, 0, 384, {{0, 300, kAcc1, 60}, {100, 110, kAcc1, 62}});
    style.AddPattern(1, 0, 384, {{0, 300, kAcc1, 64}, {200, 250, kAcc1, 67}});
    style.reader.elements[1].tracks[3].program = 0x00000009;
    style.reader.elements[1].tracks[3].expression = 80;
    Make();
    ASSERT_TRUE(player->Start().ok());
    Done();
    Done(); // 62 at 100
    player->SelectElement(1);
    EXPECT_EQ(player->PendingTicks(), (SwitchTicks{100, 100}));
    EXPECT_EQ(player->LitElement(), 0);
    EXPECT_EQ(Done(), (std::vector<Sent>{{0, word(0xBB, 11, 80)},
                                         {0, word(0xBB, 0, 0)},
                                         {0, word(0xBB, 32, 0)},
                                         {0, word(0xCB, 9)},
                                         {0, word(0x9B, 60, 0)},
                                         {0, word(0x9B, 62, 0)},
                                         {0, word(0x9B, 64, 100)}}));
    EXPECT_EQ(player->LitElement(), 1);
    EXPECT_EQ(player->ReturnVariation(), 1);
    EXPECT_EQ(Done(), (std::vector<Sent>{{100, word(0x9B, 67, 100)}}));
    EXPECT_EQ(Done(), (std::vector<Sent>{{50, word(0x8B, 67, 64)}}));
    EXPECT_EQ(Done(), (std::vector<Sent>{{50, word(0x8B, 64, 64)}}));
    EXPECT_EQ(player->SoundingNotes(), (std::vector<std::pair<int, int>>{{11, 64}})) << "until its note off plays";
}

TEST_F(StylePlayerTest, SwitchesWithoutCuttingWhenNothingSounds)
{
    style.AddPattern(0, 0, 384, {{100, 110, kAcc1, 62}, {200, 210, kAcc1, 65}});
    style.AddPattern(1, 0, 384, {{200, 250, kAcc1, 67}});
    Make();
    ASSERT_TRUE(player->Start().ok());
    Done();
    Done(); // 62 ends at 110
    player->SelectElement(1);
    EXPECT_EQ(Done(), (std::vector<Sent>{{90, word(0x9B, 67, 100)}}));
    EXPECT_EQ(Done().size(), 8u) << "the new element's setup";
    EXPECT_EQ(Done(), (std::vector<Sent>{{50, word(0x8B, 67, 64)}}));
}

// Stopping, and a step that cannot be built, end every note the player started.
TEST_F(StylePlayerTest, EndsItsNotesWhenItStopsOrFails)
{
    style.AddPattern(0, 0, 192, {{0, 96, kAcc1, 60}, {0, 96, kDrum, 38}, {48, 60, 0, 70}});
    Make();
    ASSERT_TRUE(player->Start().ok());
    Done();
    Done();
    EXPECT_EQ(player->SoundingNotes(), (std::vector<std::pair<int, int>>{{9, 38}, {11, 60}}));
    player->Stop();
    EXPECT_FALSE(player->Playing());
    EXPECT_EQ(output.closedWith, (std::vector<uint32_t>{word(0x99, 38, 0), word(0x9B, 60, 0)}));

    // Channel 1 has no track: the step fails and says so.
    ASSERT_TRUE(player->Start().ok());
    Done();
    Done();
    Done();
    EXPECT_TRUE(last.cannotPrepare);
    EXPECT_FALSE(player->Playing());
    EXPECT_EQ(output.closedWith, (std::vector<uint32_t>{word(0x99, 38, 0), word(0x9B, 60, 0)}));
}

// A note off that is queued but has not played when the stream closes is
// dropped with its buffer: the note is ended all the same.
TEST_F(StylePlayerTest, ANoteOffDroppedUnplayedStillEndsItsNote)
{
    style.AddPattern(0, 0, 192, {{0, 96, kAcc1, 60}});
    Make();
    ASSERT_TRUE(player->Start().ok());
    Done();
    ASSERT_EQ(Done(), (std::vector<Sent>{{96, word(0x8B, 60, 64)}}));
    player->Stop();
    EXPECT_EQ(output.closedWith, (std::vector<uint32_t>{word(0x9B, 60, 0)}));
}

TEST_F(StylePlayerTest, FailsCleanlyOnDamagedPatterns)
{
    style.AddPattern(0, 0, 96, {{0, 48, kAcc1, 60}});
    style.reader.elements[0].variations[0].firstEvent = 1000; // past the events
    Make();
    ASSERT_TRUE(player->Start().ok());
    Done();
    EXPECT_TRUE(last.cannotPrepare);
    EXPECT_FALSE(player->Playing());

    // A stream that cannot open leaves the player stopped with its error.
    RecordingOutput refusing;
    refusing.openError = 2;
    StylePlayer other(style.reader, refusing, tensions);
    other.Open();
    const StylePlayer::Result r = other.Start();
    EXPECT_EQ(r.streamError, 2u);
    EXPECT_FALSE(other.Playing());
    EXPECT_TRUE(refusing.buffers.empty());
}

TEST_F(StylePlayerTest, TempoVolumeAndOctaveControls)
{
    style.AddPattern(0, 0, 192, {{0, 48, kAcc1, 60}, {96, 144, kAcc1, 60}});
    Make();
    for (int i = 0; i < 40; ++i)
        player->StepTempo(-1);
    EXPECT_EQ(player->Tempo(), 40);
    EXPECT_FALSE(player->StepTempo(-1));
    for (int i = 0; i < 250; ++i)
        player->StepTempo(1);
    EXPECT_EQ(player->Tempo(), 240);
    EXPECT_FALSE(player->StepTempo(1));
    EXPECT_TRUE(player->StepTempo(-1));
    EXPECT_TRUE(output.log.empty()) << "no stream while stopped";

    // DRUM and PERC keep their octave.
    player->SetTrackBar(0, 0);
    EXPECT_FALSE(player->StepOctave(1));
    player->SetTrackBar(3, 27);
    EXPECT_EQ(player->SelectedTrack(), 3);
    EXPECT_EQ(player->TrackVolume(3), 100);
    EXPECT_TRUE(player->StepOctave(1));
    EXPECT_EQ(player->OctaveShift(), 1);

    ASSERT_TRUE(player->Start().ok());
    EXPECT_EQ(output.log[0], "open 96 " + std::to_string(60000000 / 239));
    EXPECT_TRUE(player->StepTempo(1));
    EXPECT_EQ(output.log.back(), "tempo 250000");
    EXPECT_EQ(Done(), (std::vector<Sent>{{0, word(0x9B, 72, 100)}}));
    // The octave changes while the note sounds: it still ends where it began.
    player->StepOctave(1);
    // A volume bar moved while playing goes out before the next event.
    player->SetTrackBar(3, 0);
    EXPECT_EQ(Done(), (std::vector<Sent>{{0, word(0xBB, 7, 127)}}));
    EXPECT_EQ(Done(), (std::vector<Sent>{{48, word(0x8B, 72, 64)}}));
    EXPECT_EQ(Done(), (std::vector<Sent>{{48, word(0x9B, 84, 100)}}));
}

TEST_F(StylePlayerTest, ElementsChosenWhileStoppedTakeEffectAtOnce)
{
    style.AddPattern(0, 0, 96, {{0, 48, kAcc1, 60}});
    style.AddPattern(2, 3, 96, {{0, 48, kAcc1, 64}});
    style.reader.elements[2].chordAssign[0] = 3;
    style.reader.elements[2].chordAssign[7] = 9; // damaged: no such chord variation
    Make();
    player->SelectElement(5); // not in the style
    EXPECT_EQ(player->LitElement(), 0);
    player->SelectElement(2);
    EXPECT_EQ(player->LitElement(), 2);
    EXPECT_EQ(player->ReturnVariation(), 2);
    EXPECT_EQ(player->CurrentPlace().variation, 0) << "the chord variation stays";

    // E G: E minor; a chord assign past the chord variations counts as 0.
    player->Key(52, true);
    player->Key(55, true);
    EXPECT_EQ(player->OnChordTimer(), FormatChordDisplay({4, 7, 0}));
    EXPECT_EQ(player->CurrentChord(), (Chord{4, 7, 0}));
    EXPECT_EQ(player->CurrentPlace(), (StylePlace{2, 0}));
    EXPECT_EQ(player->SelectedTrackText([](const CStyleMidiReader&, int e, int t) {
        return "E" + std::to_string(e) + "T" + std::to_string(t);
    }),
              "DRUM:   E2T0" + std::string(14, ' '));
}

// MIDI IN notes of any channel name chords; everything else is ignored.
TEST_F(StylePlayerTest, TakesChordsFromMidiInput)
{
    style.AddPattern(0, 0, 96, {{0, 48, kAcc1, 60}});
    Make();
    EXPECT_FALSE(player->MidiInput(word(0xB3, 7, 100)));
    EXPECT_TRUE(player->MidiInput(word(0x95, 45, 90)));
    EXPECT_FALSE(player->MidiInput(word(0x95, 49, 90))) << "the timer is armed already";
    EXPECT_EQ(player->OnChordTimer(), FormatChordDisplay({9, 0, 0}));
    EXPECT_FALSE(player->MidiInput(word(0x95, 45, 0))) << "velocity 0 releases";
    EXPECT_FALSE(player->MidiInput(word(0x85, 49, 0)));
    EXPECT_FALSE(player->MidiInput(word(0x95, 64, 90))) << "above the chord zone";
}

// Positions of a Wq style run bar by bar through its chord variation's signatures.
TEST_F(WqStylePlayerTest, ShowsPositionsThroughTheBarSignatures)
{
    style.AddPattern(0, 0, 960, {{600, 610, 12, 60}});
    auto& cv = style.reader.elements[0].variations[0];
    cv.measures = 2;
    cv.timeSignatures[0] = test::TimeSignatureByte(3, 2); // 288 ticks
    cv.timeSignatures[1] = test::TimeSignatureByte(7, 3); // 7/8: 336 ticks of 48
    Make();
    ASSERT_TRUE(player->Start().ok());
    Done();
    EXPECT_EQ(player->PositionText(), "     2:07") << "600 = 288 + 6 x 48 + 24";
}

} // namespace style_player_test
} // namespace zib
