#include "midi/CMidiFileParser.h"
#include "tests/midi/MidiTestHelpers.h"
#include "tests/support/SmfBuilder.h"

#include <gtest/gtest.h>

using namespace zib;
using namespace zib::test;

namespace {

struct Converted {
    int code = -1;
    uint32_t size = 0;
    std::vector<uint8_t> image;
};

Converted convert(const std::vector<uint8_t>& input, bool makerSysex = false)
{
    Converted out;
    CMidiFileParser c;
    out.code = c.GetConvertedSize(input.data(), uint32_t(input.size()), out.size, makerSysex);
    if (out.code) return out;
    out.image.assign(out.size, 0);
    out.code = c.ConvertFormat(input.data(), uint32_t(input.size()), out.image.data(), out.size, makerSysex);
    return out;
}

// Converted to the other format and back again, with the announced sizes
// and the events of `input` both times; the image of the second conversion.
std::vector<uint8_t> convertBothWays(const std::vector<uint8_t>& input)
{
    const Converted once = convert(input);
    EXPECT_EQ(once.code, 0);
    EXPECT_EQ(once.size, once.image.size());
    EXPECT_EQ(sortedEvents(once.image), sortedEvents(input));
    const Converted twice = convert(once.image);
    EXPECT_EQ(twice.code, 0);
    EXPECT_EQ(twice.size, twice.image.size());
    EXPECT_EQ(sortedEvents(twice.image), sortedEvents(input));
    return twice.image;
}

// The chunks of an image: id and payload.
std::vector<std::pair<std::string, std::vector<uint8_t>>> chunks(const std::vector<uint8_t>& image)
{
    std::vector<std::pair<std::string, std::vector<uint8_t>>> out;
    for (size_t pos = 0; pos + 8 <= image.size();) {
        const uint32_t n = (uint32_t(image[pos + 4]) << 24) | (image[pos + 5] << 16) | (image[pos + 6] << 8) |
                           image[pos + 7];
        out.emplace_back(
            std::string(image.begin() + std::ptrdiff_t(pos), image.begin() + std::ptrdiff_t(pos) + 4),
            std::vector<uint8_t>(image.begin() + std::ptrdiff_t(pos) + 8,
                                 image.begin() + std::ptrdiff_t(pos + 8 + n)));
        pos += 8 + n;
    }
    return out;
}

} // namespace

TEST(CMidiFileParser, Format1BecomesOneTrackInTimeOrderWithRunningStatus)
{
    SmfBuilder b(1, 96);
    b.AddTrack().TimeSig(0, 4, 2).Tempo(0, 500000).EndAt(50);
    b.AddTrack().NoteOn(0, 0, 60, 100).NoteOn(10, 0, 62, 100).NoteOff(20, 0, 60).EndAt(30);
    b.AddTrack().NoteOn(5, 1, 40, 90).NoteOn(10, 1, 41, 90).EndAt(40);
    const auto input = b.Build();
    const Converted out = convert(input);
    ASSERT_EQ(out.code, 0);
    EXPECT_EQ(out.size, out.image.size());

    const std::vector<uint8_t> track = {
        0,  0xFF, 0x58, 0x04, 4,    2,    24,   8,                //
        0,  0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0, 0x90, 60, 100, // status after a meta event
        5,  0x91, 40,   90,                                       //
        5,  0x90, 62,   100,                                      // equal times keep the track order
        0,  0x91, 41,   90,                                       //
        10, 0x80, 60,   0,                                        //
        0,  0xFF, 0x2F, 0, // one end of track, right after the last event
    };
    SmfBuilder expected(0, 96);
    expected.AddTrack().NoEndOfTrack().Raw(0, std::vector<uint8_t>(track.begin() + 1, track.end()));
    EXPECT_EQ(out.image, expected.Build());
}

TEST(CMidiFileParser, RunningStatusRepeatsOnlyIdenticalStatuses)
{
    SmfBuilder b(1, 96);
    b.AddTrack().TimeSig(0, 4, 2);
    b.AddTrack().NoteOn(0, 0, 60, 100).NoteOn(1, 0, 61, 100).Controller(2, 0, 7, 1).Controller(3, 0, 10, 2);
    const Converted out = convert(b.Build());
    ASSERT_EQ(out.code, 0);
    const auto track = chunks(out.image)[1].second;
    EXPECT_EQ(
        std::vector<uint8_t>(track.begin() + 8, track.end()),
        (std::vector<uint8_t>{0, 0x90, 60, 100, 1, 61, 100, 1, 0xB0, 7, 1, 1, 10, 2, 0, 0xFF, 0x2F, 0}));
}

// Converted both ways, a first data byte with bit 7 set keeps its status
// byte in front of it, so the events read back as they were.
TEST(CMidiFileParser, DataBytesWithBit7KeepTheirStatus)
{
    SmfBuilder b(1, 96);
    b.AddTrack().TimeSig(0, 4, 2);
    b.AddTrack().NoteOn(0, 1, 40, 100).Raw(10, {0x91, 0xAB, 0x5A}).Raw(20, {0x91, 0xAB, 0x00});
    convertBothWays(b.Build());
}

TEST(CMidiFileParser, Format0BecomesMetaTrackAndOneTrackPerChannel)
{
    SmfBuilder b(0, 96);
    b.AddTrack()
        .TimeSig(0, 4, 2)
        .NoteOn(0, 9, 36, 100)
        .NoteOn(0, 0, 60, 100)
        .Marker(10, "A")
        .NoteOff(20, 9, 36)
        .NoteOff(30, 0, 60)
        .EndAt(40);
    const auto input = b.Build();
    const Converted out = convert(input);
    ASSERT_EQ(out.code, 0);
    EXPECT_EQ(out.size, out.image.size());

    // Each track ends right after its own last event.
    SmfBuilder expected(1, 96);
    expected.AddTrack().TimeSig(0, 4, 2).Marker(10, "A");
    expected.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(30, 0, 60);
    expected.AddTrack().NoteOn(0, 9, 36, 100).NoteOff(20, 9, 36);
    EXPECT_EQ(out.image, expected.Build());
}

// A tempo track and a note track whose last note-off is at 96 and whose end
// is at 1888: the merged track ends with delta 0 after the note-off.
TEST(CMidiFileParser, EndOfTrackFollowsTheLastEventNotTheInputsEnd)
{
    SmfBuilder b(1, 96);
    b.AddTrack().Tempo(0, 500000).EndAt(1888);
    b.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60).EndAt(1888);
    const Converted out = convert(b.Build());
    ASSERT_EQ(out.code, 0);
    ASSERT_EQ(out.image.size(), 41u);
    EXPECT_EQ(std::vector<uint8_t>(out.image.end() - 8, out.image.end()),
              (std::vector<uint8_t>{0x60, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00}));
    EventRecorder r;
    ASSERT_EQ(r.ParseMemory(out.image.data(), uint32_t(out.image.size())), 0);
    EXPECT_EQ(r.trackEnds, (std::vector<uint32_t>{96}));
}

TEST(CMidiFileParser, EveryTrackEndsOnceEvenWithoutMetaEvents)
{
    // The input's own ends of track are not copied; track 0 exists and ends
    // even when it holds nothing else.
    SmfBuilder b(0, 96);
    b.AddTrack().NoteOn(0, 2, 60, 100).NoteOff(30, 2, 60);
    const Converted out = convert(b.Build());
    ASSERT_EQ(out.code, 0);
    const auto parts = chunks(out.image);
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[1].second, (std::vector<uint8_t>{0, 0xFF, 0x2F, 0}));
    EventRecorder r;
    ASSERT_EQ(r.ParseMemory(out.image.data(), uint32_t(out.image.size())), 0);
    EXPECT_EQ(r.trackEnds, (std::vector<uint32_t>{0, 30}));
}

TEST(CMidiFileParser, MakerSysExGoesToItsChannelTrack)
{
    struct Case {
        std::vector<uint8_t> data; // sysex data after F0 and its length
        size_t track;              // output chunk that receives it
    };
    const Case cases[] = {
        {{0x42, 0x3F, 0x78, 0x00, 0x01, 0x03, 60, 100, 0xF7}, 3}, // channel 3's track (chunk 0 is the header)
        {{0x42, 0x3F, 0x78, 0x00, 0x01}, 1},                      // too short: the meta track
        {{0x42, 0x3F, 0x78, 0x00, 0x01, 0x13, 60, 0xF7}, 1},      // channel byte 19: the meta track
        {{0x43, 0x3F, 0x78, 0x00, 0x01, 0x03, 60, 0xF7}, 1},      // another maker
    };
    for (const auto& c : cases) {
        SmfBuilder b(0, 96);
        b.AddTrack()
            .NoteOn(0, 0, 50, 1)
            .NoteOn(0, 3, 50, 1)
            .SysEx(5, c.data)
            .NoteOff(10, 0, 50)
            .NoteOff(10, 3, 50);
        const auto input = b.Build();
        const Converted out = convert(input, true);
        ASSERT_EQ(out.code, 0);
        EXPECT_EQ(out.size, out.image.size());
        const auto parts = chunks(out.image);
        ASSERT_EQ(parts.size(), 4u);
        const auto& track = parts[c.track].second;
        EXPECT_NE(std::search(track.begin(), track.end(), c.data.begin(), c.data.end()), track.end());
        EXPECT_EQ(sortedEvents(out.image), sortedEvents(input));

        const Converted plain = convert(input, false); // without the flag: always the meta track
        const auto plainChunks = chunks(plain.image);
        const auto& meta = plainChunks[1].second;
        EXPECT_NE(std::search(meta.begin(), meta.end(), c.data.begin(), c.data.end()), meta.end());
    }
}

TEST(CMidiFileParser, RefusesWhatItCannotConvert)
{
    struct Case {
        const char* name;
        std::function<std::vector<uint8_t>()> image;
        int code;
    };
    const Case cases[] = {
        {"65 tracks",
         [] {
             SmfBuilder b(1, 96);
             b.AddTrack();
             return b.AnnouncedTracks(65).Build();
         },
         CMidiFileParser::kMaxTrackLimitExceeded},
        {"format 2",
         [] {
             SmfBuilder b(2, 96);
             b.AddTrack();
             return b.Build();
         },
         CMidiFileParser::kFormatNotSupportedConv},
        {"track starting before the previous one ended",
         [] {
             SmfBuilder b(1, 96);
             b.AddTrack().NoEndOfTrack();
             b.AddTrack();
             return b.Build();
         },
         CMidiFileParser::kLastTrackNotFinished},
        {"bytes after end of track",
         [] {
             SmfBuilder b(1, 96);
             b.AddTrack().TrailingBytes({0, 0x90, 1, 1});
             return b.Build();
         },
         CMidiFile::kBadMTrkChunk},
        // Channel 1 is silent for 2^29 ticks while channel 2 plays: its own
        // track cannot hold that delta.
        {"channel track delta beyond 2^28",
         [] {
             SmfBuilder b(0, 96);
             b.AddTrack()
                 .NoteOn(0, 0, 1, 1)
                 .NoteOn(0x0FFFFFFF, 1, 1, 1)
                 .NoteOn(0x1FFFFFFE, 1, 1, 1)
                 .NoteOn(0x1FFFFFFE, 0, 1, 1);
             return b.Build();
         },
         CMidiFile::kBadDeltaTime},
    };
    for (const auto& c : cases) {
        const Converted out = convert(c.image());
        EXPECT_EQ(out.code, c.code) << c.name;
    }
}

TEST(CMidiFileParser, ShortOutputBufferIsRefused)
{
    SmfBuilder b(1, 96);
    b.AddTrack().TimeSig(0, 4, 2);
    b.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60);
    const auto input = b.Build();
    CMidiFileParser c;
    uint32_t size = 0;
    ASSERT_EQ(c.GetConvertedSize(input.data(), uint32_t(input.size()), size, false), 0);
    std::vector<uint8_t> out(size + 4, 0xEE);
    EXPECT_EQ(c.ConvertFormat(input.data(), uint32_t(input.size()), out.data(), size - 1, false),
              CMidiFile::kBadByteCount);
    EXPECT_EQ(out[size - 1], 0xEE);
    EXPECT_EQ(c.ConvertFormat(input.data(), uint32_t(input.size()), out.data(), size, false), 0);
    EXPECT_EQ(out[size], 0xEE);
}

TEST(CMidiFileParser, ParseFormat0WithTrackFilterAndPercussion)
{
    // PERC plays on channel 11 (10 zero-based), DRUM on 10.
    SmfBuilder b(1, 96);
    b.AddTrack().TimeSig(0, 4, 2).Tempo(0, 500000);
    b.AddTrack().NoteOn(0, 10, 40, 100).NoteOff(10, 10, 40).Controller(0, 10, 7, 80);
    b.AddTrack().NoteOn(0, 9, 36, 100).NoteOff(10, 9, 36);
    b.AddTrack().NoteOn(0, 8, 30, 100).NoteOff(10, 8, 30);
    const auto input = b.Build();

    struct Case {
        uint8_t filter;
        bool percussion;
        std::vector<std::vector<uint8_t>> channelEvents;
    };
    const Case cases[] = {
        {1, false, {{0x9A, 40, 100}, {0xBA, 7, 80}, {0x8A, 40, 0}}}, // PERC
        {1, true, {{0x99, 40, 100}, {0xBA, 7, 80}, {0x89, 40, 0}}},  // PERC notes on the drum channel
        {2, false, {{0x98, 30, 100}, {0x88, 30, 0}}},                // BASS
    };
    for (const auto& c : cases) {
        CMidiFileParser p;
        p.SetTrackFilter(c.filter);
        p.SetPercussionOnDrumChannel(c.percussion);
        uint32_t size = 0;
        ASSERT_EQ(p.ParseFormat0(input.data(), uint32_t(input.size()), size), 0);
        std::vector<uint8_t> out(size);
        ASSERT_EQ(p.ConvertToFormat0(input.data(), uint32_t(input.size()), out.data(), size), 0);
        EventRecorder r;
        ASSERT_EQ(r.ParseMemory(out.data(), size), 0);
        EXPECT_EQ(r.GetFormat(), 0);
        std::vector<std::vector<uint8_t>> channel;
        int metas = 0;
        for (const auto& e : r.events) {
            if (e.bytes[0] < 0xF0)
                channel.push_back(e.bytes);
            else
                ++metas;
        }
        EXPECT_EQ(channel, c.channelEvents) << int(c.filter);
        EXPECT_EQ(metas, 2); // tempo and time signature stay
        EXPECT_EQ(p.GetEvents().size(), c.channelEvents.size() + 2);
        p.Reset();
        EXPECT_TRUE(p.GetEvents().empty());
    }

    CMidiFileParser bad;
    bad.SetTrackFilter(8);
    uint32_t size = 0;
    EXPECT_EQ(bad.ParseFormat0(input.data(), uint32_t(input.size()), size),
              CMidiFileParser::kApplicationDefined);
}

TEST(CMidiFileParser, ConversionsBothWaysKeepTheEvents)
{
    SmfBuilder b(1, 480);
    b.AddTrack().TrackName(0, "T").TimeSig(0, 3, 2).Tempo(0, 400000).Marker(960, "B").EndAt(2000);
    b.AddTrack()
        .Program(0, 1, 5)
        .NoteOn(0, 1, 60, 90)
        .SysEx(100, {0x41, 0x10, 0xF7})
        .NoteOff(480, 1, 60)
        .PitchBend(500, 1, 9000);
    b.AddTrack()
        .Controller(0, 4, 7, 100)
        .NoteOn(240, 4, 70, 80)
        .NoteOff(720, 4, 70)
        .ChannelPressure(800, 4, 3);
    const std::vector<uint8_t> format1 = convertBothWays(b.Build());
    EXPECT_EQ(chunks(format1).size(), 4u); // header, meta track, channels 2 and 5

    EventRecorder r;
    ASSERT_EQ(r.ParseMemory(format1.data(), uint32_t(format1.size())), 0);
    EXPECT_EQ(r.trackEnds, (std::vector<uint32_t>{960, 500, 800})); // each after its last event
}

TEST(CMidiFileParser, ErrorTexts)
{
    CMidiFileParser c;
    EXPECT_EQ(errorText(c, 4), "CMidiFile error: 4 - Bad MTrk chunk");
    EXPECT_EQ(errorText(c, 101), "CMidiFile error: 101 - Midi format determined");
    EXPECT_EQ(errorText(c, 105), "CMidiFile error: 105 - Cannot allocate channel buffer");
    EXPECT_EQ(errorText(c, 107), "");
}
