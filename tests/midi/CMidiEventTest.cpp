#include "midi/CMidiEvent.h"
#include "midi/CTimeSigRecord.h"

#include <gtest/gtest.h>

#include <memory>

using namespace zib;

TEST(CMidiEvent, FreshEventReadsAsMetaEventWithoutPartner)
{
    CMidiEvent e;
    EXPECT_EQ(e.status, 0xFF);
    EXPECT_EQ(e.pairId, -1);
    EXPECT_EQ(e.length, 0u);
    EXPECT_TRUE(e.data.empty());
    EXPECT_EQ(e.time, 0u);
    EXPECT_EQ(e.state, 0);
    EXPECT_EQ(e.deltaSize, 0);
    EXPECT_EQ(e.paired, 0u);
    EXPECT_EQ(e.track, 0);
    EXPECT_EQ(e.listVisible, 0u);
    EXPECT_EQ(e.played, 0u);
    EXPECT_EQ(e.duration, 0u);
    EXPECT_EQ(e.measure, 0u);
    EXPECT_EQ(e.beat, 0u);
    EXPECT_EQ(e.tick, 0u);
    EXPECT_EQ(e.flags, 0);
}

TEST(CMidiEvent, ChannelDataKeepsRoomToChangeTheEventKind)
{
    CMidiEvent e;
    const uint8_t program[] = {42};
    e.SetData(program, 1, 6);
    EXPECT_EQ(e.length, 1u);
    ASSERT_EQ(e.data.size(), 6u);
    EXPECT_EQ(e.data[0], 42);
    EXPECT_EQ(e.data[1], 0);
}

TEST(CMidiEvent, DeletedThroughTheRootClass)
{
    // Holders keep events as their root class; the bytes go with the event.
    std::unique_ptr<CMidiNode> node = std::make_unique<CMidiEvent>();
    const uint8_t bytes[] = {0xFF, 0x01, 0x02, 'h', 'i'};
    node->SetData(bytes, sizeof bytes);
    EXPECT_EQ(node->length, 5u);
    node.reset();
}

TEST(CMidiEvent, FlagsHaveTheirSharedValues)
{
    EXPECT_EQ(CMidiEvent::kInitialValue, 0x01);
    EXPECT_EQ(CMidiEvent::kTrackName, 0x04);
    EXPECT_EQ(CMidiEvent::kFirstPort, 0x08);
    EXPECT_EQ(CMidiEvent::kVexNoise, 0x10);
    EXPECT_EQ(CMidiEvent::kRecorded, 0x80);
}
