#include "platform/ByteWriter.h"
#include "devices/core/CFakeMidiBackend.h"
#include "devices/core/CMidiStream.h"
#include "devices/core/IMidiStreamClient.h"
#include "devices/core/MidiHeader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace zib {
namespace {

// Writes stream events into a buffer the way the player does.
struct EventBuffer {
    ByteWriter bytes;
    MidiHeader header;

    EventBuffer& Event(uint32_t delta, uint32_t word)
    {
        bytes.u32le(delta);
        bytes.u32le(0);
        bytes.u32le(word);
        return *this;
    }
    EventBuffer& Long(uint32_t delta, const std::vector<uint8_t>& data, uint32_t announced = 0)
    {
        Event(delta, mevt::kLongMsg | (announced ? announced : uint32_t(data.size())));
        bytes.bytes(data);
        bytes.fill(0, mevt::PaddedLength(uint32_t(data.size())) - data.size());
        return *this;
    }
    MidiHeader& Header(uintptr_t user = 0)
    {
        header = MidiHeader{};
        header.data = bytes.data();
        header.bufferLength = header.bytesRecorded = uint32_t(bytes.size());
        header.user = user;
        return header;
    }
};

struct Recorder : IMidiStreamClient {
    struct Done {
        uintptr_t user;
        int64_t timeUs;
    };
    explicit Recorder(CFakeMidiBackend& b) : backend(b) {}
    void OnStreamDone(MidiHeader& h) override { done.push_back({h.user, backend.NowUs()}); }
    void OnStreamPosition(MidiHeader& h, uint32_t offset) override
    {
        positions.push_back({h.user, backend.NowUs()});
        offsets.push_back(offset);
    }
    CFakeMidiBackend& backend;
    std::vector<Done> done;
    std::vector<Done> positions;
    std::vector<uint32_t> offsets;
};

class MidiStreamTest : public ::testing::Test {
protected:
    MidiStreamTest() : backend({"Out A", "Out B"}, {}), client(backend)
    {
        EXPECT_EQ(backend.OpenStream(0, client, stream), MidiResult::NoError);
        // 100 ticks per quarter at 100000 us per quarter: one tick is 1000 us
        stream->SetTimeDiv(100);
        stream->SetTempo(100000);
    }
    void Queue(EventBuffer& b, uintptr_t user = 0)
    {
        MidiHeader& h = b.Header(user);
        ASSERT_EQ(stream->PrepareHeader(h), MidiResult::NoError);
        ASSERT_EQ(stream->Out(h), MidiResult::NoError);
    }

    CFakeMidiBackend backend;
    Recorder client;
    std::unique_ptr<CMidiStream> stream;
};

TEST_F(MidiStreamTest, PlaysEventsAtTheirDeltasAndReturnsEachBufferAfterItsLastEvent)
{
    EventBuffer a, b;
    a.Event(0, 0x7F3C90).Event(10, 0x003C90);
    b.Event(5, mevt::kNop | 2).Event(20, 0x644090);
    Queue(a, 1);
    Queue(b, 2);
    backend.AdvanceUs(100'000);
    EXPECT_TRUE(backend.SentMessages().empty()) << "a new stream is paused";

    stream->Restart();
    const int64_t t0 = backend.NowUs();
    backend.RunUntilIdle();
    const auto& sent = backend.SentMessages();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].message, 0x7F3C90u);
    EXPECT_EQ(sent[0].timeUs - t0, 0);
    EXPECT_EQ(sent[1].timeUs - t0, 10'000);
    EXPECT_EQ(sent[2].message, 0x644090u);
    EXPECT_EQ(sent[2].timeUs - t0, 35'000); // 10 + 5 + 20 ticks
    EXPECT_FALSE(sent[0].immediate);
    ASSERT_EQ(client.done.size(), 2u);
    EXPECT_EQ(client.done[0].user, 1u);
    EXPECT_EQ(client.done[0].timeUs - t0, 10'000);
    EXPECT_EQ(client.done[1].timeUs - t0, 35'000);
    EXPECT_EQ(stream->PositionTicks(), 35u);
}

TEST_F(MidiStreamTest, TempoEventsRetimeTheFollowingEventsAndCallbacksReportTheirOffset)
{
    EventBuffer a;
    a.Event(10, mevt::kTempo | 200000) // from tick 10 on, 2000 us per tick
        .Event(10, 0x7F3C90)
        .Event(0, mevt::kCallback | mevt::kNop | 4);
    Queue(a);
    stream->Restart();
    backend.RunUntilIdle();
    ASSERT_EQ(backend.SentMessages().size(), 1u);
    EXPECT_EQ(backend.SentMessages()[0].timeUs, 10'000 + 20'000);
    ASSERT_EQ(client.positions.size(), 1u);
    EXPECT_EQ(client.offsets[0], 24u);
    EXPECT_EQ(stream->GetTempo(), 200000u);
    ASSERT_EQ(client.done.size(), 1u);
}

TEST_F(MidiStreamTest, PauseHoldsTimeAndStopReturnsEveryBufferAndRewinds)
{
    EventBuffer a, b;
    a.Event(0, 0x7F3C90).Event(50, 0x003C90);
    b.Event(50, 0x7F3E90);
    Queue(a, 1);
    Queue(b, 2);
    stream->Restart();
    backend.AdvanceUs(20'000);
    stream->Pause();
    backend.AdvanceUs(1'000'000);
    EXPECT_EQ(backend.SentMessages().size(), 1u);
    EXPECT_EQ(stream->PositionTicks(), 20u);
    stream->Restart();
    backend.AdvanceUs(30'000);
    EXPECT_EQ(backend.SentMessages().size(), 2u) << "the note-off comes 50 ticks of running time after the start";

    EXPECT_EQ(stream->Close(), MidiResult::StillPlaying);
    EXPECT_EQ(stream->Stop(), MidiResult::NoError);
    ASSERT_EQ(client.done.size(), 2u);
    EXPECT_TRUE(b.header.flags & MidiHeader::kDone);
    EXPECT_EQ(stream->PositionTicks(), 0u);
    EXPECT_EQ(stream->Close(), MidiResult::NoError);
    EXPECT_EQ(stream->Restart(), MidiResult::InvalidHandle);
    EXPECT_EQ(stream->Out(b.Header()), MidiResult::InvalidHandle);
}

TEST_F(MidiStreamTest, RefusesBuffersThatAreNotPreparedOrAlreadyQueued)
{
    EventBuffer a;
    a.Event(0, 0x7F3C90);
    MidiHeader& h = a.Header();
    EXPECT_EQ(stream->Out(h), MidiResult::Unprepared);
    ASSERT_EQ(stream->PrepareHeader(h), MidiResult::NoError);
    ASSERT_EQ(stream->Out(h), MidiResult::NoError);
    EXPECT_EQ(stream->Out(h), MidiResult::StillPlaying);
    EXPECT_EQ(stream->UnprepareHeader(h), MidiResult::StillPlaying);

    MidiHeader tooLong = h;
    tooLong.flags = MidiHeader::kPrepared;
    tooLong.bytesRecorded = tooLong.bufferLength + 4;
    EXPECT_EQ(stream->Out(tooLong), MidiResult::InvalidParameter);
    EXPECT_EQ(stream->ShortMsg(0x40), MidiResult::InvalidParameter) << "a data byte is no message";
}

TEST_F(MidiStreamTest, LongMessagesGoWholeAndATornBufferEndsWithoutReadingPastIt)
{
    EventBuffer a;
    a.Long(0, {0xF0, 0x41, 0x10, 0x42, 0xF7});
    EventBuffer torn;
    torn.Long(0, {0xF0, 0x7E, 0xF7}, 200); // announces more bytes than the buffer holds
    torn.Event(0, 0x7F3C90);
    Queue(a, 1);
    Queue(torn, 2);
    stream->Restart();
    backend.RunUntilIdle();
    ASSERT_EQ(backend.SentMessages().size(), 1u);
    EXPECT_EQ(backend.SentMessages()[0].longData, (std::vector<uint8_t>{0xF0, 0x41, 0x10, 0x42, 0xF7}));
    EXPECT_EQ(client.done.size(), 2u);
}

TEST_F(MidiStreamTest, StreamsOfTwoDevicesPlayInOneTimeOrder)
{
    Recorder other(backend);
    std::unique_ptr<CMidiStream> second;
    ASSERT_EQ(backend.OpenStream(1, other, second), MidiResult::NoError);
    second->SetTimeDiv(100);
    second->SetTempo(100000);
    EventBuffer a, b;
    a.Event(0, 0x7F3C90).Event(30, 0x003C90);
    b.Event(10, 0x7F3C91).Event(10, 0x003C91);
    Queue(a);
    MidiHeader& hb = b.Header();
    second->PrepareHeader(hb);
    second->Out(hb);
    stream->Restart();
    second->Restart();
    backend.RunUntilIdle();
    std::vector<std::pair<int, int64_t>> order;
    for (const auto& s : backend.SentMessages()) order.emplace_back(s.device, s.timeUs);
    EXPECT_EQ(order, (std::vector<std::pair<int, int64_t>>{{0, 0}, {1, 10'000}, {1, 20'000}, {0, 30'000}}));
    EXPECT_EQ(backend.OpenStreamCount(), 2);
}

TEST(MidiResultTest, TextsByNumberWithTheSystemFallbacks)
{
    char text[256];
    EXPECT_EQ(MidiErrorText(2, text, sizeof text), MidiResult::NoError);
    EXPECT_STRNE(text, "");
    EXPECT_EQ(MidiErrorText(65, text, sizeof text), MidiResult::NoError);
    EXPECT_EQ(MidiErrorText(40, text, sizeof text), MidiResult::BadErrorNumber);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(MidiErrorText(2, nullptr, 10), MidiResult::InvalidParameter);
    char small[8];
    EXPECT_EQ(MidiErrorText(1, small, sizeof small), MidiResult::NoError);
    EXPECT_EQ(std::strlen(small), 7u);
}

} // namespace
} // namespace zib
