// Property event streams held as events in their encoded form: decoding,
// encoding back byte for byte, the end markers and damaged streams.

#include "ulvarf/CDecProp.h"
#include "ulvarf/CPropEventList.h"

#include "tests/support/QeStyleBuilder.h"

#include "platform/ByteWriter.h"

#include <gtest/gtest.h>

#include <vector>

namespace zib::ulvarf {
namespace {

using Bytes = std::vector<uint8_t>;
using zib::test::PropStreamBuilder;

TEST(CPropEventList, StreamsDecodeAndEncodeBackByteForByte)
{
    const std::vector<Bytes> streams = {
        PropStreamBuilder().end(384),
        PropStreamBuilder().noteOn(0, 60).noteOff(96, 60).end(1536),
        // Track changes forward and backward, a meta that keeps the track.
        PropStreamBuilder().noteOn(0, 36, 90, 1).noteOn(10, 38, 90, 3).meta(10, 0x01, {'a', 'b'}).noteOff(20, 38, 64, 0).end(30),
        // A note with duration, a program change, pitch bend, a sysex of mode 0.
        PropStreamBuilder().note(0, 64, 100, 0x2000 + 625).channel(5, 4, {12}).channel(200000, 6, {0, 64})
            .raw({0x0A, 0x00, 0x00, 0x02, 0x43, 0x90}).end(300000),
        // Unknown kinds: 15 runs to its first byte with bit 7 set, 30 has no payload,
        // a kind byte with 0x20 carries three bytes.
        PropStreamBuilder().raw({0x0F, 0x01, 0x02, 0x83, 0x1E, 0x27, 0x01, 0x02, 0x83}).end(1),
    };
    for (const Bytes& stream : streams) {
        const CPropEventList events = CPropEventList::Decode(stream);
        EXPECT_FALSE(events.damaged());
        EXPECT_TRUE(events.hasEnd());
        EXPECT_EQ(events.Encode(events.endTick()), stream);
    }
}

TEST(CPropEventList, EventsKeepTheirTicksTracksAndBytes)
{
    const Bytes stream = PropStreamBuilder().noteOn(0, 36, 90, 1).noteOn(10, 38, 90, 3).noteOff(20, 38, 64, 0).end(30);
    // The kind bytes carry 0x40 and the track differences 01, 02 and 7D.
    EXPECT_EQ(stream, (Bytes{0x41, 0x01, 0x24, 0xDA, 0x8A, 0x41, 0x02, 0x26, 0xDA, 0x8A, 0x40, 0x7D, 0x26, 0xC0,
                             0x8A, 0x09, 0x2F, 0x00, 0x00}));
    const CPropEventList events = CPropEventList::Decode(stream);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].track, 1);
    EXPECT_EQ(events[1].track, 3);
    EXPECT_EQ(events[2].track, 0);
    EXPECT_EQ(events[1].tick, 10u);
    EXPECT_EQ(Bytes(events.Bytes(events[1]).begin(), events.Bytes(events[1]).end()), (Bytes{0x01, 0x26, 0xDA}));
    EXPECT_EQ(events.Payload(events[2], 1), 0xC0);
    EXPECT_EQ(events.endTick(), 30u);
}

TEST(CPropEventList, DecodingStopsAtEveryEndMarker)
{
    struct Case {
        Bytes stream;
        uint32_t endTick;
    };
    const std::vector<Case> cases = {
        {PropStreamBuilder().noteOn(0, 60).end(100), 100},
        {PropStreamBuilder().noteOn(0, 60).meta(50, 0x7E, {1}).noteOn(60, 62).end(100), 50},
        {PropStreamBuilder().noteOn(0, 60).raw({0x82, 0x1F}).noteOn(2, 62).end(100), 2},
    };
    for (const Case& c : cases) {
        const CPropEventList events = CPropEventList::Decode(c.stream);
        EXPECT_TRUE(events.hasEnd());
        EXPECT_EQ(events.size(), 1u);
        EXPECT_EQ(events.endTick(), c.endTick);
    }
}

TEST(CPropEventList, DamagedStreamsKeepWhatCameBeforeTheDamage)
{
    const Bytes good = PropStreamBuilder().noteOn(0, 60).noteOff(96, 60).end(1536);
    // A note on (key 60, velocity 100), then the damage.
    const std::vector<Bytes> damaged = {
        {0x01, 0x3C, 0xE4, 0x01, 0x3C},                         // payload cut off
        {0x01, 0x3C, 0xE4, 0x81, 0x82, 0x83, 0x84, 0x85, 0x00}, // a fifth delta byte
        {0x01, 0x3C, 0xE4, 0x8F},                               // a delta with no event
        {0x01, 0x3C, 0xE4, 0x09, 0x01, 0x00, 0x05, 'a'},        // meta data cut off
        {0x01, 0x3C, 0xE4, 0x41},                               // track change cut off
        {0x01, 0x3C, 0xE4, 0x0B, 0x01, 0x02},                   // unknown kind never closed
        {0x01, 0x3C, 0xE4, 0x23, 0x01, 0x02, 0x03},             // 0x20 form not closed
    };
    for (const Bytes& stream : damaged) {
        const CPropEventList events = CPropEventList::Decode(stream);
        EXPECT_TRUE(events.damaged());
        EXPECT_FALSE(events.hasEnd());
        EXPECT_EQ(events.size(), 1u);
    }
    // Every truncation of a good stream reads inside its bytes.
    for (size_t n = 0; n < good.size(); ++n) {
        const CPropEventList events = CPropEventList::Decode(std::span(good).first(n));
        EXPECT_FALSE(events.hasEnd());
    }
}

TEST(CPropEventList, EmptyStreamsAreThoseThatEndAtOnce)
{
    EXPECT_TRUE(CPropEventList::IsEmptyStream({}));
    EXPECT_TRUE(CPropEventList::IsEmptyStream(PropStreamBuilder().end(384)));
    EXPECT_FALSE(CPropEventList::IsEmptyStream(PropStreamBuilder().noteOn(0, 60).end(384)));
    EXPECT_FALSE(CPropEventList::IsEmptyStream(Bytes{0x83, 0x80, 0x09, 0x2F})); // cannot be read
    // A continue marker is no event: the decoder passes over it.
    EXPECT_TRUE(CPropEventList::IsEmptyStream(Bytes{0x1E, 0x83, 0x80, 0x09, 0x2F, 0x00, 0x00}));
    EXPECT_FALSE(CPropEventList::IsEmptyStream(Bytes{0x1E, 0x03, 0x07, 0x81, 0x09, 0x2F, 0x00, 0x00}));
}

// The decoder (CDecProp) and the event list read one stream form: the same
// events at the same ticks on the same tracks, and damage at the same place,
// whatever the bytes. Unknown events are the decoder's null event; continue
// markers are kept by the list only.
TEST(CPropEventList, ReadsEveryStreamAsTheDecoderDoes)
{
    struct Seen {
        uint32_t tick;
        int kind; // -1: an unknown event
        uint8_t track;
        uint8_t data1;
        bool operator==(const Seen&) const = default;
    };
    auto viaList = [](const Bytes& stream, bool& damaged) {
        const CPropEventList list = CPropEventList::Decode(stream);
        damaged = list.damaged();
        std::vector<Seen> seen;
        for (const auto& e : list.events()) {
            if (list.Bytes(e)[0] == PropKind::Continue) continue;
            const bool undefined = (list.Bytes(e)[0] & 0x20) != 0 || e.kind == 11 || e.kind > PropKind::VexSound;
            if (undefined) {
                seen.push_back({e.tick, -1, 0, 0});
            } else if (e.kind == PropKind::Meta || e.kind == PropKind::SysEx) {
                seen.push_back({e.tick, e.kind, e.kind == PropKind::Meta ? uint8_t(0) : e.track, 0});
            } else {
                seen.push_back({e.tick, e.kind, e.track, uint8_t(list.Payload(e, 0) & 0x7F)});
            }
        }
        return seen;
    };
    auto viaDecoder = [](const Bytes& stream, bool& damaged) {
        std::vector<PropEvent> events;
        damaged = !CDecProp::DecodeEvents(stream, events);
        if (!events.empty() && (events.back().IsEndOfTrack() ||
                                (events.back().IsMeta(PropMeta::Control) && events.back().data == Bytes{1})))
            events.pop_back(); // the end marker, which the list does not keep
        std::vector<Seen> seen;
        for (const PropEvent& e : events) {
            if (e == PropEvent::Null(e.tick)) {
                seen.push_back({e.tick, -1, 0, 0});
            } else if (!e.IsChannel()) {
                seen.push_back({e.tick, e.kind, e.kind == PropKind::Meta ? uint8_t(0) : e.track, 0});
            } else {
                seen.push_back({e.tick, e.kind, e.track, e.data1});
            }
        }
        return seen;
    };
    const Bytes eot = {0x09, 0x2F, 0x00, 0x00};
    struct Case {
        const char* name;
        Bytes stream;
    };
    const Case cases[] = {
        {"a control change whose last byte lacks bit 7", {0x03, 0x07, 0x01, 0x81}},
        {"a control change closed after one byte", {0x03, 0x87, 0x01, 0x05}},
        {"a note whose velocity has bit 7", {0x07, 0x3C, 0xE4, 0x00, 0x60, 0xC0}},
        {"a program change of two bytes", {0x04, 0x05, 0x85}},
        {"the 0x20 form not closed", {0x23, 0x01, 0x02, 0x03}},
        {"the 0x20 form closed", {0x23, 0x01, 0x02, 0x83, 0x03, 0x07, 0x81}},
        {"kind 20 with a track change", {0x54, 0x02, 0x01, 0x83, 0x03, 0x07, 0x81}},
        {"a continue marker between events", {0x03, 0x07, 0x81, 0x8A, 0x1E, 0x85, 0x03, 0x07, 0x82}},
        {"kind 30 in the 0x20 form", {0x3E, 0x01, 0x02, 0x83, 0x03, 0x07, 0x81}},
        {"a meta carrying a track change", {0x49, 0x05, 0x01, 0x00, 0x01, 'a', 0x03, 0x07, 0x81}},
        {"a stop control ends the stream", {0x03, 0x07, 0x81, 0x09, 0x7E, 0x00, 0x01, 0x01, 0x03, 0x07, 0x82}},
        {"kind 31 ends the stream", {0x03, 0x07, 0x81, 0x1F, 0x03, 0x07, 0x82}},
    };
    for (const Case& c : cases) {
        Bytes stream = c.stream;
        stream.insert(stream.end(), eot.begin(), eot.end());
        bool listDamaged = false;
        bool decoderDamaged = false;
        const std::vector<Seen> listed = viaList(stream, listDamaged);
        EXPECT_TRUE(listed == viaDecoder(stream, decoderDamaged)) << c.name;
        EXPECT_EQ(listDamaged, decoderDamaged) << c.name;
    }
}

TEST(CPropEventList, DeltasUseTheShortestFormAndRefuseTwoToThe28)
{
    struct Case {
        uint32_t delta;
        Bytes bytes;
    };
    for (const Case& c : std::vector<Case>{{127, {0xFF}}, {128, {0x81, 0x80}}, {16384, {0x81, 0x80, 0x80}},
                                           {(1u << 28) - 1, {0xFF, 0xFF, 0xFF, 0xFF}}}) {
        zib::ByteWriter out;
        CPropEventList::WriteDelta(c.delta, out);
        EXPECT_EQ(out.bytes(), c.bytes) << c.delta;
    }
    CPropEventList far;
    far.AppendMeta(1u << 28, 0x01, Bytes{'x'});
    EXPECT_FALSE(far.Encode(0));
    CPropEventList backwards;
    backwards.AppendMeta(10, 0x01, Bytes{'x'});
    backwards.AppendMeta(5, 0x01, Bytes{'y'});
    EXPECT_FALSE(backwards.Encode(0));
    backwards.SortByTick();
    EXPECT_TRUE(backwards.Encode(0));
}

} // namespace
} // namespace zib::ulvarf
