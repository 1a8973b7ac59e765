// Property event stream decoder: events as pool cells, groups, the ends of a
// stream, unknown kinds and damaged streams.

#include "ulvarf/CDecProp.h"
#include "ulvarf/CEncoderProp.h"
#include "ulvarf/CEventsHeap.h"
#include "ulvarf/CEventsPool.h"
#include "ulvarf/CMStream.h"
#include "ulvarf/EventCell.h"

#include "tests/ulvarf/PropEventSamples.h"
#include "tests/ulvarf/TraceCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace zib::ulvarf {
namespace {

using Bytes = std::vector<uint8_t>;

const char* const kUnknown = "CDecProp::ExtractEvent() - Unknown event found; returning null event instead.";
const char* const kCorruptFirst = "CDecProp::Prepare() - stream of events is corrupted";
const char* const kCorruptLater = "CDecProp::ExtractEvent() - stream of events is corrupted";

std::vector<PropEvent> decode(const Bytes& stream, bool expectComplete = true)
{
    std::vector<PropEvent> events;
    EXPECT_EQ(CDecProp::DecodeEvents(stream, events), expectComplete);
    return events;
}

TEST(CDecProp, CellsCarryTheEventsWithTheirDeltas)
{
    CEventsHeap heap;
    CEventsPool pool(heap, 64, PoolGrowth::Fixed);
    const Bytes stream = {0x07, 0x3C, 0x64, 0x00, 0x60, 0xC0,                   // note, 96 ticks
                          0x81, 0x80, 0x09, 0x03, 0x00, 0x06, 'A', 'B', 'C', 'D', 'E', 'F', // meta 03 at 128
                          0x09, 0x2F, 0x00, 0x00};
    CDecProp decoder(stream, pool);
    ASSERT_TRUE(decoder.Prepare());
    uint32_t delta = 0;
    EventCell* note = decoder.ExtractEvent(delta);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(delta, 0u);
    EXPECT_EQ(note->word1, 0x643C0007u);
    EXPECT_EQ(note->word2, 0x40000060u);

    EventCell* meta = decoder.ExtractEvent(delta);
    ASSERT_NE(meta, nullptr);
    EXPECT_EQ(delta, 128u);
    EXPECT_EQ(decoder.tick(), 128u);
    EXPECT_EQ(meta->word1 & 0x7FFFFFFF, 0x00060309u);
    ASSERT_TRUE(meta->hasHeapData());
    EXPECT_EQ(std::string(meta->heapData, meta->heapData + 6), "ABCDEF");

    EventCell* end = decoder.ExtractEvent(delta);
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(PropEvent::FromCell(*end, 128), PropEvent::EndOfTrack(128));
    EXPECT_EQ(decoder.ExtractEvent(delta), nullptr);
    EXPECT_EQ(decoder.state(), PropDecodeState::Finished);

    note->next = meta;
    meta->next = end;
    pool.FreeEvents(note);
    EXPECT_EQ(pool.inUse(), 0u);
    EXPECT_EQ(heap.FreeBlocks(CEventsHeap::BlockClass::Small), 32u);
}

TEST(CDecProp, GroupsShareOneTickAndOneClass)
{
    const Bytes stream =
        CEncoderProp::CopyEvents(std::vector<PropEvent>{PropEvent::Channel(0, PropKind::ControlChange, 9, 7, 100),
                                  PropEvent::Channel(0, PropKind::ProgramChange, 9, 5),
                                  PropEvent::MetaEvent(0, 0x01, {'x'}), PropEvent::SysExEvent(0, 9, {0xF0, 0x01, 0xF7}),
                                  PropEvent::Channel(0, PropKind::NoteOn, 9, 36, 100),
                                  PropEvent::Channel(96, PropKind::NoteOff, 9, 36, 64),
                                  PropEvent::Channel(96, PropKind::NoteOn, 9, 38, 100), PropEvent::EndOfTrack(192)})
            .value();
    CDecProp decoder(stream);
    std::vector<std::pair<int64_t, size_t>> groups;
    EventCell* group = nullptr;
    for (int64_t delta; (delta = decoder.NextGroup(group)) >= 0;) {
        size_t n = 0;
        for (EventCell* c = group; c; c = c->next) ++n;
        groups.emplace_back(delta, n);
        decoder.pool().FreeEvents(group);
    }
    const std::vector<std::pair<int64_t, size_t>> expected = {{0, 2}, {0, 1}, {0, 1}, {0, 1}, {96, 2}, {96, 1}};
    EXPECT_EQ(groups, expected);
    EXPECT_EQ(decoder.state(), PropDecodeState::Finished);

    // Rewind starts over.
    decoder.Rewind();
    EXPECT_EQ(decoder.NextGroup(group), 0);
    decoder.pool().FreeEvents(group);
}

TEST(CDecProp, AGroupFarBehindTheLastOneKeepsItsDelta)
{
    // Nine continue markers of 2^28 - 1 ticks each: the event lies past 2^31.
    Bytes stream;
    for (int i = 0; i < 9; ++i) stream.insert(stream.end(), {0xFF, 0xFF, 0xFF, 0xFF, 0x1E});
    stream.insert(stream.end(), {0x03, 0x07, 0x81, 0x09, 0x2F, 0x00, 0x00});
    CDecProp decoder(stream);
    EventCell* group = nullptr;
    EXPECT_EQ(decoder.NextGroup(group), 9 * int64_t((1 << 28) - 1));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->kind(), PropKind::ControlChange);
    decoder.pool().FreeEvents(group);
    EXPECT_EQ(decoder.NextGroup(group), 0); // the end of track
    decoder.pool().FreeEvents(group);
    EXPECT_EQ(decoder.NextGroup(group), -1);
    EXPECT_EQ(decoder.pool().inUse(), 0u);
}

TEST(CDecProp, DecodingEndsAtTheEndOfTrackAStopControlOrKind31)
{
    const Bytes tail = {0x03, 0x07, 0x81}; // never read
    struct Case {
        const char* name;
        Bytes stream;
        size_t events;
    };
    const Case cases[] = {
        {"end of track", {0x03, 0x07, 0x81, 0x09, 0x2F, 0x00, 0x00}, 2},
        {"control 1", {0x03, 0x07, 0x81, 0x09, 0x7E, 0x00, 0x01, 0x01}, 2},
        {"kind 31", {0x03, 0x07, 0x81, 0x1F}, 1},
        {"last byte", {0x03, 0x07, 0x81}, 1},
        {"empty", {}, 0},
    };
    for (const Case& c : cases) {
        Bytes stream = c.stream;
        if (!stream.empty() && stream.back() != 0x81) stream.insert(stream.end(), tail.begin(), tail.end());
        EXPECT_EQ(decode(stream).size(), c.events) << c.name;
    }
    // Control events other than 1 do not end the stream.
    EXPECT_EQ(decode({0x09, 0x7E, 0x00, 0x02, 0x02, 0x64, 0x09, 0x2F, 0x00, 0x00}).size(), 2u);
}

TEST(CDecProp, TheContinueMarkerAsksWhetherToGoOn)
{
    class Stopper : public CDecProp {
    public:
        using CDecProp::CDecProp;
        bool goOn = true;

    protected:
        bool OnContinueMarker() override { return goOn; }
    };
    // Event at 10, continue marker at 20, event at 30: the marker's delta counts.
    const Bytes stream = {0x8A, 0x03, 0x07, 0x81, 0x8A, 0x1E, 0x8A, 0x03, 0x07, 0x82};
    for (bool goOn : {true, false}) {
        Stopper decoder(stream);
        decoder.goOn = goOn;
        std::vector<uint32_t> ticks;
        uint32_t delta = 0;
        for (EventCell* cell; (cell = decoder.ExtractEvent(delta));) {
            ticks.push_back(decoder.tick());
            decoder.pool().FreeEvents(cell);
        }
        const std::vector<uint32_t> expected = goOn ? std::vector<uint32_t>{10, 30} : std::vector<uint32_t>{10};
        EXPECT_EQ(ticks, expected);
        EXPECT_EQ(decoder.state(), PropDecodeState::Finished);
    }
}

TEST(CDecProp, UnknownKindsGiveTheNullEventAndDecodingGoesOn)
{
    struct Case {
        const char* name;
        Bytes unknown;
    };
    const Case cases[] = {
        {"kind 11, two bytes", {0x0B, 0x05, 0x85}},
        {"kind 15, one byte", {0x0F, 0x85}},
        {"kind 29, four bytes", {0x1D, 0x01, 0x02, 0x03, 0x84}},
        {"kind 20 with a track change", {0x54, 0x02, 0x01, 0x83}},
        {"0x20 form", {0x23, 0x01, 0x02, 0x83}},
        {"0x20 form whose bytes look closed", {0x27, 0x81, 0x82, 0x83}},
    };
    for (const Case& c : cases) {
        test::TraceCapture capture;
        Bytes stream = {0x03, 0x07, 0x81, 0x90};
        stream.insert(stream.end(), c.unknown.begin(), c.unknown.end());
        stream.insert(stream.end(), {0x03, 0x07, 0x82, 0x09, 0x2F, 0x00, 0x00});
        const auto events = decode(stream);
        ASSERT_EQ(events.size(), 4u) << c.name;
        EXPECT_EQ(events[1], PropEvent::Null(16)) << c.name;
        EXPECT_EQ(events[2].data2, 2) << c.name;
        EXPECT_EQ(events[2].tick, 16u) << c.name;
        EXPECT_EQ(capture.texts(), std::vector<std::string>{kUnknown}) << c.name;
    }
}

TEST(CDecProp, DamagedStreamsAreCorruptedAndNeverReadPastTheirEnd)
{
    struct Case {
        const char* name;
        Bytes stream;
        size_t events; // decoded before the damage
    };
    const Case cases[] = {
        {"meta data past the end", {0x09, 0x01, 0x01, 0x00, 'a'}, 0},
        {"meta head cut", {0x03, 0x07, 0x81, 0x09, 0x01}, 1},
        {"sysex data past the end", {0x03, 0x07, 0x81, 0x0A, 0x00, 0x7F, 0x7F, 0x01}, 1},
        {"track change byte missing", {0x43}, 0},
        {"channel payload cut", {0x03, 0x07}, 0},
        {"note cut", {0x03, 0x07, 0x81, 0x07, 0x3C, 0x64, 0x00}, 1},
        {"five delta bytes", {0x81, 0x81, 0x81, 0x81, 0x81, 0x03, 0x07, 0x81}, 0},
        {"delta without an event", {0x03, 0x07, 0x81, 0x81, 0x82}, 1},
        {"unknown kind never closed", {0x0B, 0x01, 0x02}, 0},
        {"0x20 form not closed", {0x03, 0x07, 0x81, 0x21, 0x01, 0x02, 0x03}, 1},
    };
    std::vector<Case> all(std::begin(cases), std::end(cases));
    // Sixteen deltas of 2^28 - 1 stay within 32 bits; the seventeenth does not.
    Case past{"tick past 32 bits", {}, 16};
    for (int i = 0; i < 17; ++i) past.stream.insert(past.stream.end(), {0xFF, 0xFF, 0xFF, 0xFF, 0x03, 0x07, 0x81});
    all.push_back(past);
    for (const Case& c : all) {
        test::TraceCapture capture;
        // An exact-size copy, so the sanitizer sees any read past the stream.
        const auto copy = std::make_unique<uint8_t[]>(c.stream.size());
        std::copy(c.stream.begin(), c.stream.end(), copy.get());
        std::vector<PropEvent> events;
        EXPECT_FALSE(CDecProp::DecodeEvents({copy.get(), c.stream.size()}, events)) << c.name;
        EXPECT_EQ(events.size(), c.events) << c.name;
        EXPECT_TRUE(capture.contains(c.events ? kCorruptLater : kCorruptFirst)) << c.name;

        CDecProp decoder({copy.get(), c.stream.size()});
        EXPECT_EQ(decoder.Prepare(), c.events != 0) << c.name;
        uint32_t delta = 0;
        size_t cells = 0;
        for (EventCell* cell; (cell = decoder.ExtractEvent(delta)); ++cells) decoder.pool().FreeEvents(cell);
        EXPECT_EQ(cells, c.events) << c.name;
        EXPECT_EQ(decoder.state(), PropDecodeState::Corrupted) << c.name;
    }
}

TEST(CDecProp, EveryCutOfAStreamDecodesToAPrefixOfIt)
{
    const std::vector<PropEvent> events = test::randomPropEvents(60, 5);
    const Bytes stream = CEncoderProp::CopyEvents(events).value();
    for (size_t n = 0; n < stream.size(); ++n) {
        const auto copy = std::make_unique<uint8_t[]>(n + 1);
        std::copy(stream.begin(), stream.begin() + long(n), copy.get());
        std::vector<PropEvent> part;
        CDecProp::DecodeEvents({copy.get(), n}, part);
        ASSERT_LE(part.size(), events.size()) << n;
        for (size_t i = 0; i < part.size(); ++i) ASSERT_EQ(part[i], events[i]) << n << " " << i;
    }
}

TEST(CDecProp, AnExhaustedPoolGivesNoEvent)
{
    CEventsHeap heap;
    CEventsPool pool(heap, 2, PoolGrowth::Fixed);
    const Bytes stream = {0x03, 0x07, 0x81, 0x03, 0x07, 0x82, 0x03, 0x07, 0x83};
    CDecProp decoder(stream, pool);
    test::TraceCapture capture;
    uint32_t delta = 0;
    EXPECT_NE(decoder.ExtractEvent(delta), nullptr);
    EXPECT_NE(decoder.ExtractEvent(delta), nullptr);
    EXPECT_EQ(decoder.ExtractEvent(delta), nullptr);
    EXPECT_EQ(decoder.state(), PropDecodeState::Exhausted);
    EXPECT_TRUE(capture.contains("CEventPool::GetNewEvent() - Pool of events is exhausted"));
}

TEST(CDecProp, StoreEventsPairsNotesIntoTheStoredForm)
{
    const std::vector<PropEvent> plain = test::densePatternEvents(200, true);
    const Bytes stream = CEncoderProp::EncodeEvents(plain, PropSwitches::BothOff()).value();
    CMStream out;
    CDecProp decoder(stream);
    ASSERT_TRUE(decoder.StoreEvents(out));
    std::vector<PropEvent> stored;
    ASSERT_TRUE(CDecProp::DecodeEvents(out.bytes(), stored));
    const auto ons = std::count_if(plain.begin(), plain.end(),
                                   [](const PropEvent& e) { return e.kind == PropKind::NoteOn; });
    EXPECT_EQ(std::count_if(stored.begin(), stored.end(), [](const PropEvent& e) { return e.kind == PropKind::Note; }),
              ons);
    for (const PropEvent& e : stored) {
        EXPECT_NE(e.kind, PropKind::NoteOn);
        EXPECT_NE(e.kind, PropKind::NoteOff);
        if (e.kind == PropKind::Note) {
            EXPECT_EQ(e.duration, 90u);
        }
    }
    // Stored once more, the stream stays as it is.
    CMStream again;
    CDecProp second(out.bytes());
    ASSERT_TRUE(second.StoreEvents(again));
    EXPECT_TRUE(std::equal(again.bytes().begin(), again.bytes().end(), out.bytes().begin(), out.bytes().end()));

    test::TraceCapture capture;
    const Bytes damaged = {0x03, 0x07, 0x81, 0x09, 0x01, 0x05};
    CMStream none;
    CDecProp broken(damaged);
    EXPECT_FALSE(broken.StoreEvents(none));
    EXPECT_TRUE(capture.contains("CDecProp::StoreEvents - Events decoding failed"));
    EXPECT_EQ(none.size(), 0u);

    // A continue marker joins two deltas into one of 2^28 ticks, which the
    // stored form cannot hold.
    const Bytes farApart = {0xFF, 0xFF, 0xFF, 0xFF, 0x1E, 0x81, 0x03, 0x07, 0x81, 0x09, 0x2F, 0x00, 0x00};
    CDecProp tooFar(farApart);
    EXPECT_FALSE(tooFar.StoreEvents(none));
    EXPECT_TRUE(capture.contains("CDecProp::StoreEvents - Events encoding failed"));
    EXPECT_EQ(none.size(), 0u);
}

TEST(CDecProp, StartsFromTheGivenTrack)
{
    const Bytes stream = {0x43, 0x02, 0x07, 0x81, 0x09, 0x2F, 0x00, 0x00};
    std::vector<PropEvent> events;
    ASSERT_TRUE(CDecProp::DecodeEvents(stream, events, 9));
    EXPECT_EQ(events[0].track, 11);
}

} // namespace
} // namespace zib::ulvarf
