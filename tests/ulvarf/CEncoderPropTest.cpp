// Property event stream encoder: the byte forms, note pairing, duration
// expansion, the end of a stream and every way an encoding fails.

#include "ulvarf/CDecProp.h"
#include "ulvarf/CEncoderProp.h"
#include "ulvarf/CEventsHeap.h"
#include "ulvarf/CNoteInfoPool.h"
#include "ulvarf/EventCell.h"

#include "tests/ulvarf/PropEventSamples.h"
#include "tests/ulvarf/TraceCapture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zib::ulvarf {
// Named, so that its helpers stay apart from other test files built with it.
namespace encoder_prop_test {

using Bytes = std::vector<uint8_t>;
using List = std::vector<PropEvent>;

Bytes encode(const std::vector<PropEvent>& events, PropSwitches switches = PropSwitches::BothOff())
{
    auto bytes = CEncoderProp::EncodeEvents(events, switches);
    EXPECT_TRUE(bytes.has_value());
    return bytes.value_or(Bytes{});
}

const Bytes kEot = {0x09, 0x2F, 0x00, 0x00};

Bytes cat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(CEncoderProp, NotePairingWritesOneNoteWithItsDuration)
{
    const Bytes bytes = encode({PropEvent::Channel(0, PropKind::NoteOn, 0, 60, 100),
                                PropEvent::Channel(96, PropKind::NoteOff, 0, 60, 64), PropEvent::EndOfTrack(96)},
                               PropSwitches::BothOn());
    // Kind 07, key 60, velocity, duration 00 60, off velocity with bit 7; then delta 96 and the end.
    EXPECT_EQ(bytes, cat({0x07, 0x3C, 0x64, 0x00, 0x60, 0xC0, 0xE0}, kEot));

    // An encoder opens with pairing on: a note with a duration, expanded and
    // paired again, comes out as the same note.
    CEncoderProp encoder;
    EXPECT_TRUE(encoder.PutEvent(PropEvent::NoteWithDuration(0, 0, 60, 100, 96, 64)));
    EXPECT_TRUE(encoder.PutEvent(PropEvent::EndOfTrack(96)));
    EXPECT_TRUE(encoder.Close());
    EXPECT_EQ(Bytes(encoder.bytes().begin(), encoder.bytes().end()), bytes);
}

TEST(CEncoderProp, BothSwitchesOffExpandANoteIntoNoteOnAndNoteOff)
{
    const Bytes bytes =
        encode({PropEvent::NoteWithDuration(0, 0, 60, 100, 96, 70), PropEvent::EndOfTrack(200)});
    EXPECT_EQ(bytes, cat({0x01, 0x3C, 0xE4, /* delta 96 */ 0xE0, 0x00, 0x3C, 0xC6, /* delta 104 */ 0xE8}, kEot));
}

TEST(CEncoderProp, DurationCodes)
{
    struct Case {
        uint32_t ticks;
        uint16_t code;
        uint32_t back;
    };
    const Case cases[] = {
        {0, 0, 0},
        {96, 96, 96},
        {8191, 0x1FFF, 8191},
        {8192, 0x2000 + 512, 8192},
        {625 * 16, 0x2000 + 625, 10000},
        {10007, 0x2000 + 625, 10000},
        {131056, 0x3FFF, 131056},
        {131057, 0x3FFF, 131056},
        {500000, 0x3FFF, 131056},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PropEvent::DurationCode(c.ticks), c.code) << c.ticks;
        EXPECT_EQ(PropEvent::DurationTicks(c.code), c.back) << c.ticks;
        // Through a stream: the two duration bytes hold the code, and decoding gives it back.
        const Bytes bytes = encode({PropEvent::NoteWithDuration(0, 0, 60, 100, c.ticks, 64), PropEvent::EndOfTrack(0)},
                                   PropSwitches::BothOn());
        ASSERT_GE(bytes.size(), 6u);
        EXPECT_EQ(bytes[3], uint8_t(c.code >> 7)) << c.ticks;
        EXPECT_EQ(bytes[4], uint8_t(c.code & 0x7F)) << c.ticks;
        std::vector<PropEvent> events;
        ASSERT_TRUE(CDecProp::DecodeEvents(bytes, events));
        EXPECT_EQ(events[0].duration, c.back) << c.ticks;
    }
}

TEST(CEncoderProp, DeltaForms)
{
    const std::pair<uint32_t, Bytes> cases[] = {
        {0, {}},
        {1, {0x81}},
        {127, {0xFF}},
        {128, {0x81, 0x80}},
        {16383, {0xFF, 0xFF}},
        {16384, {0x81, 0x80, 0x80}},
        {2097151, {0xFF, 0xFF, 0xFF}},
        {2097152, {0x81, 0x80, 0x80, 0x80}},
        {(1u << 28) - 1, {0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const auto& [delta, form] : cases) {
        Bytes out;
        EXPECT_TRUE(CEncoderProp::PropFormEncodeDelta(delta, out));
        EXPECT_EQ(out, form) << delta;
        EXPECT_EQ(encode({PropEvent::EndOfTrack(delta)}), cat(form, kEot)) << delta;
    }
}

TEST(CEncoderProp, ADeltaOf2To28FailsTheEncodeInsteadOfWritingAWrongOne)
{
    test::TraceCapture capture;
    Bytes out;
    EXPECT_FALSE(CEncoderProp::PropFormEncodeDelta(1u << 28, out));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(CEncoderProp::EncodeEvents(List{PropEvent::Channel(5, PropKind::ControlChange, 0, 1, 2),
                                             PropEvent::EndOfTrack(5 + (1u << 28))},
                                        PropSwitches::BothOff())
                     .has_value());
    EXPECT_TRUE(capture.contains("PropFormEncodeDelta - Tick out of range"));
}

TEST(CEncoderProp, TrackChangesAreRelativeToTheCurrentTrack)
{
    const Bytes bytes = encode({PropEvent::Channel(0, PropKind::ControlChange, 1, 7, 100),
                                PropEvent::Channel(0, PropKind::ControlChange, 3, 7, 100),
                                PropEvent::Channel(0, PropKind::ControlChange, 3, 7, 101),
                                PropEvent::MetaEvent(0, 0x01, {'a'}),
                                PropEvent::Channel(0, PropKind::ControlChange, 0, 7, 100), PropEvent::EndOfTrack(0)});
    const Bytes expected = cat({0x43, 0x01, 0x07, 0xE4, /* track 3 after 1 */ 0x43, 0x02, 0x07, 0xE4,
                                /* same track */ 0x03, 0x07, 0xE5, /* metas carry no track */ 0x09, 0x01, 0x00, 0x01,
                                'a', /* track 0 after 3 */ 0x43, 0x7D, 0x07, 0xE4},
                               kEot);
    EXPECT_EQ(bytes, expected);
    std::vector<PropEvent> events;
    ASSERT_TRUE(CDecProp::DecodeEvents(bytes, events));
    ASSERT_EQ(events.size(), 6u);
    EXPECT_EQ(events[0].track, 1);
    EXPECT_EQ(events[1].track, 3);
    EXPECT_EQ(events[2].track, 3);
    EXPECT_EQ(events[4].track, 0);
}

TEST(CEncoderProp, SystemExclusiveModes)
{
    struct Case {
        Bytes message;
        Bytes stored; // kind 10, mode, length, data
    };
    const Case cases[] = {
        {{0xF0, 0x43, 0x10, 0xF7}, {0x0A, 0x00, 0x00, 0x02, 0x43, 0x90}},
        {{0xF0, 0x43, 0x10}, {0x0A, 0x01, 0x00, 0x02, 0x43, 0x90}},
        {{0x43, 0x10}, {0x0A, 0x02, 0x00, 0x02, 0x43, 0x90}},
        {{0x43, 0x10, 0xF7}, {0x0A, 0x03, 0x00, 0x02, 0x43, 0x90}},
        {{0xF0, 0xF7}, {0x0A, 0x00, 0x00, 0x00}},
        {{0xF7}, {0x0A, 0x03, 0x00, 0x00}},
    };
    for (const Case& c : cases) {
        const Bytes bytes = encode({PropEvent::SysExEvent(0, 0, c.message), PropEvent::EndOfTrack(0)});
        EXPECT_EQ(bytes, cat(c.stored, kEot));
        std::vector<PropEvent> events;
        ASSERT_TRUE(CDecProp::DecodeEvents(bytes, events));
        ASSERT_EQ(events.size(), 2u);
        EXPECT_EQ(events[0].data, c.message);
    }
    // Data of up to 16383 bytes fits the two length bytes; one more does not.
    Bytes big(16383 + 2, 0x11);
    big.front() = 0xF0;
    big.back() = 0xF7;
    EXPECT_TRUE(CEncoderProp::EncodeEvents(List{PropEvent::SysExEvent(0, 0, big), PropEvent::EndOfTrack(0)}, PropSwitches::BothOff())
                    .has_value());
    std::vector<uint8_t> encoded;
    big.insert(big.begin() + 1, 0x11);
    EXPECT_FALSE(CEncoderProp::EncodeEvent(PropEvent::SysExEvent(0, 0, big), encoded));
}

TEST(CEncoderProp, PendingNoteOffsComeBeforeLaterEventsAndAtTheLatestAtTheEnd)
{
    // Expansion: the note of 500 ticks outlives the end at 384; its off is
    // written at 384, before the end of track, never lost.
    const Bytes bytes = encode({PropEvent::NoteWithDuration(0, 0, 60, 100, 100, 64),
                                PropEvent::NoteWithDuration(0, 0, 62, 100, 500, 64),
                                PropEvent::Channel(100, PropKind::ControlChange, 0, 7, 1),
                                PropEvent::EndOfTrack(384)});
    std::vector<PropEvent> events;
    ASSERT_TRUE(CDecProp::DecodeEvents(bytes, events));
    std::vector<std::pair<uint32_t, uint8_t>> order;
    for (const PropEvent& e : events) order.emplace_back(e.tick, e.kind);
    const std::vector<std::pair<uint32_t, uint8_t>> expected = {
        {0, PropKind::NoteOn},   {0, PropKind::NoteOn},   {100, PropKind::NoteOff},
        {100, PropKind::ControlChange}, {384, PropKind::NoteOff}, {384, PropKind::Meta}};
    EXPECT_EQ(order, expected);

    // Without an end of track the offs are written at their own ticks on closing.
    test::TraceCapture capture;
    CEncoderProp encoder;
    encoder.Open(PropSwitches::BothOff());
    encoder.PutEvent(PropEvent::NoteWithDuration(10, 0, 60, 100, 50, 64));
    EXPECT_TRUE(encoder.Close());
    EXPECT_TRUE(capture.contains("CEncoderProp::Close() - EOT not found"));
    events.clear();
    CDecProp::DecodeEvents(encoder.bytes(), events);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].kind, PropKind::NoteOff);
    EXPECT_EQ(events[1].tick, 60u);
}

TEST(CEncoderProp, PairingTracesRedundantOffsAndShutsNotesLeftOpen)
{
    test::TraceCapture capture;
    const Bytes bytes = encode({PropEvent::Channel(0, PropKind::NoteOn, 2, 60, 100),
                                PropEvent::Channel(0, PropKind::VexSoundOn, 2, 40, 90),
                                PropEvent::Channel(10, PropKind::NoteOff, 2, 61, 64),
                                PropEvent::Channel(10, PropKind::VexSoundOff, 2, 41, 64),
                                PropEvent::EndOfTrack(300)},
                               PropSwitches::BothOn());
    EXPECT_TRUE(capture.contains("CEncoderProp::OnChannelMsg - Redundant Note-Off not encoded."));
    EXPECT_TRUE(capture.contains("CEncoderProp::OnChannelMsg - Redundant Sound-Off not encoded."));
    EXPECT_TRUE(capture.contains("CEncoderProp::ShutNotes() - NOTE Shut: Key=0x3C Trk=2 On=0 Off=300"));
    EXPECT_TRUE(capture.contains("CEncoderProp::ShutNotes() - SOUND Shut: Key=0x28 Trk=2 On=0 Off=300"));
    std::vector<PropEvent> events;
    ASSERT_TRUE(CDecProp::DecodeEvents(bytes, events));
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0], PropEvent::NoteWithDuration(0, 2, 60, 100, 300, 64));
    EXPECT_EQ(events[1], PropEvent::NoteWithDuration(0, 2, 40, 90, 300, 64, true));

    // Closing with notes open and no end of track.
    test::TraceCapture closing;
    CEncoderProp encoder;
    encoder.Open({.notePairing = true});
    encoder.PutEvent(PropEvent::Channel(0, PropKind::NoteOn, 0, 60, 100));
    encoder.PutEvent(PropEvent::Channel(0, PropKind::VexSoundOn, 0, 61, 100));
    EXPECT_TRUE(encoder.Close());
    EXPECT_TRUE(closing.contains("CEncoderProp::OnClose() - Note Tracer is not empty"));
    EXPECT_TRUE(closing.contains("CEncoderProp::OnClose() - Sound Tracer is not empty"));
    EXPECT_TRUE(closing.contains("CEncoderProp::Close() - EOT not found"));
}

TEST(CEncoderProp, PairingTakesTheNewestOpenNoteOfKeyAndTrackAndHonoursTheLimit)
{
    CEncoderProp encoder;
    encoder.Open(PropSwitches::BothOn());
    encoder.SetDurationLimit(50);
    for (const PropEvent& e : {PropEvent::Channel(0, PropKind::NoteOn, 0, 60, 1),
                               PropEvent::Channel(10, PropKind::NoteOn, 1, 60, 2),
                               PropEvent::Channel(20, PropKind::NoteOn, 0, 60, 3),
                               PropEvent::Channel(30, PropKind::NoteOff, 0, 60, 4),
                               PropEvent::Channel(40, PropKind::NoteOff, 1, 60, 5),
                               PropEvent::Channel(200, PropKind::NoteOff, 0, 60, 6), PropEvent::EndOfTrack(200)})
        EXPECT_TRUE(encoder.PutEvent(e));
    EXPECT_TRUE(encoder.Close());
    std::vector<PropEvent> events;
    ASSERT_TRUE(CDecProp::DecodeEvents(encoder.bytes(), events));
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0], PropEvent::NoteWithDuration(0, 0, 60, 1, 50, 6));  // 200 ticks, cut at 50
    EXPECT_EQ(events[1], PropEvent::NoteWithDuration(10, 1, 60, 2, 30, 5));
    EXPECT_EQ(events[2], PropEvent::NoteWithDuration(20, 0, 60, 3, 10, 4)); // the newest of track 0
}

TEST(CEncoderProp, KindsThatAreNoChannelMessagesAreRefused)
{
    CEncoderProp encoder;
    encoder.Open({.notePairing = false, .keepDurations = true});
    // Pairing off: notes with a duration are refused, plain notes written.
    EXPECT_FALSE(encoder.PutEvent(PropEvent::NoteWithDuration(0, 0, 60, 100, 10, 64)));
    EXPECT_TRUE(encoder.PutEvent(PropEvent::Channel(0, PropKind::NoteOn, 0, 60, 100)));
    for (uint8_t kind : {uint8_t(11), uint8_t(15), uint8_t(29), PropKind::Continue, PropKind::EndOfStream})
        EXPECT_FALSE(encoder.PutEvent(PropEvent::Channel(0, kind, 0, 1, 2))) << int(kind);
    EXPECT_FALSE(encoder.failed());
    EXPECT_EQ(encoder.bytes().size(), 3u);
}

TEST(CEncoderProp, FailuresStopTheEncoder)
{
    {
        // Out of tick order.
        test::TraceCapture capture;
        CEncoderProp encoder;
        EXPECT_TRUE(encoder.PutEvent(PropEvent::Channel(100, PropKind::ControlChange, 0, 7, 1)));
        EXPECT_FALSE(encoder.PutEvent(PropEvent::Channel(99, PropKind::ControlChange, 0, 7, 1)));
        EXPECT_TRUE(encoder.failed());
        EXPECT_FALSE(encoder.Close());
        EXPECT_TRUE(capture.contains("CEncoderBase::PutEvent - Event out of order"));
    }
    {
        // A buffer that cannot grow.
        test::TraceCapture capture;
        CEncoderProp encoder(10);
        for (uint32_t i = 0; i < 5; ++i) encoder.PutEvent(PropEvent::Channel(i, PropKind::ControlChange, 0, 7, 1));
        EXPECT_TRUE(encoder.failed());
        EXPECT_TRUE(capture.contains("CMStream::Resize - Unable to resize"));
    }
    {
        // An exhausted note pool fails the encoding instead of leaving a duration at 0.
        test::TraceCapture capture;
        CNoteInfoPool notes(2, PoolGrowth::Fixed);
        CEncoderProp encoder(notes);
        encoder.Open({.notePairing = true});
        EXPECT_TRUE(encoder.PutEvent(PropEvent::Channel(0, PropKind::NoteOn, 0, 60, 1)));
        EXPECT_TRUE(encoder.PutEvent(PropEvent::Channel(0, PropKind::NoteOn, 0, 61, 1)));
        EXPECT_FALSE(encoder.PutEvent(PropEvent::Channel(0, PropKind::NoteOn, 0, 62, 1)));
        EXPECT_TRUE(encoder.failed());
        EXPECT_TRUE(capture.contains("CNoteInfoPool::GetNewNote() - Pool of notes is exhausted"));
    }
    {
        // Nothing after the end of track.
        CEncoderProp encoder;
        EXPECT_TRUE(encoder.PutEvent(PropEvent::EndOfTrack(10)));
        EXPECT_FALSE(encoder.PutEvent(PropEvent::Channel(10, PropKind::ControlChange, 0, 7, 1)));
        EXPECT_TRUE(encoder.Close());
        EXPECT_EQ(encoder.bytes().size(), 5u);
    }
}

TEST(CEncoderProp, CopiedEventsGetTheirTrackChangeWorkedOutAnew)
{
    CEncoderProp encoder;
    // A control change that stood on track 5 after track 1 in its source (change byte 04).
    EXPECT_TRUE(encoder.CopyEncodedEvent(0, Bytes{0x43, 0x04, 0x07, 0xE4}, 5));
    EXPECT_TRUE(encoder.CopyEncodedEvent(10, Bytes{0x03, 0x07, 0xE5}, 5));
    EXPECT_TRUE(encoder.CopyEncodedEvent(20, Bytes{0x09, 0x01, 0x00, 0x00}, 0));
    EXPECT_TRUE(encoder.CopyEncodedEvent(30, Bytes{0x09, 0x2F, 0x00, 0x00}, 0));
    EXPECT_TRUE(encoder.ended());
    EXPECT_EQ(Bytes(encoder.bytes().begin(), encoder.bytes().end()),
              cat({0x43, 0x05, 0x07, 0xE4, 0x8A, 0x03, 0x07, 0xE5, 0x8A, 0x09, 0x01, 0x00, 0x00, 0x8A}, kEot));
}

TEST(CEncoderProp, CopiedListsComeBackByteForByte)
{
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        const std::vector<PropEvent> events = test::randomPropEvents(300, seed);
        const auto bytes = CEncoderProp::CopyEvents(events);
        ASSERT_TRUE(bytes.has_value()) << seed;
        std::vector<PropEvent> back;
        ASSERT_TRUE(CDecProp::DecodeEvents(*bytes, back)) << seed;
        ASSERT_EQ(back, events) << seed;
        EXPECT_EQ(CEncoderProp::CopyEvents(back), bytes) << seed;
    }
}

TEST(CEncoderProp, PairedListsKeepEveryNoteAndItsTiming)
{
    // Plain note ons and offs paired into notes with durations, then
    // expanded again: the same plain events come back.
    const std::vector<PropEvent> plain = test::densePatternEvents(500, true);
    const Bytes paired = encode(plain, PropSwitches::BothOn());
    std::vector<PropEvent> notes;
    ASSERT_TRUE(CDecProp::DecodeEvents(paired, notes));
    for (const PropEvent& e : notes) EXPECT_NE(e.kind, PropKind::NoteOn);
    const Bytes expanded = encode(notes);
    std::vector<PropEvent> back;
    ASSERT_TRUE(CDecProp::DecodeEvents(expanded, back));
    EXPECT_EQ(back, plain);
}

TEST(PropEvent, CellsKeepEveryField)
{
    CEventsHeap heap;
    for (const PropEvent& event : test::randomPropEvents(200, 99)) {
        EventCell cell;
        ASSERT_TRUE(event.ToCell(cell, heap));
        EXPECT_EQ(cell.kind(), event.kind);
        EXPECT_EQ(PropEvent::FromCell(cell, event.tick), event);
        EXPECT_EQ(cell.hasHeapData(), event.data.size() > 4 || (event.kind == PropKind::SysEx && !event.data.empty()));
        if (cell.hasHeapData()) heap.Free(cell.heapData);
    }
    // Meta data of up to 4 bytes lies in word 2; the length in word 1.
    EventCell cell;
    ASSERT_TRUE(PropEvent::MetaEvent(0, 0x51, {0x07, 0xA1, 0x20}).ToCell(cell, heap));
    EXPECT_EQ(cell.word1, 0x00035109u);
    EXPECT_EQ(cell.word2, 0x0020A107u);
    ASSERT_TRUE(PropEvent::NoteWithDuration(0, 9, 60, 100, 96, 64).ToCell(cell, heap));
    EXPECT_EQ(cell.word1, 0x643C0907u);
    EXPECT_EQ(cell.word2, 0x40000060u);
}

} // namespace encoder_prop_test
} // namespace zib::ulvarf
