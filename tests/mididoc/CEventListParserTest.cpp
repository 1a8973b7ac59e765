// The event-list parser: VEX Noise messages become flagged notes, every
// other system-exclusive message goes.
#include "mididoc/core/CEventListParser.h"

#include "midi/DaskMidiId.h"
#include "tests/support/SmfBuilder.h"

#include <gtest/gtest.h>

using namespace zib;
using namespace zib::test;

namespace {

std::vector<uint8_t> vex(int onOff, int channel, int key, int velocity)
{
    return {DaskMidiId, 0x3F, 0x78, 0x01, uint8_t(onOff), uint8_t(channel), uint8_t(key), uint8_t(velocity), 0xF7};
}

} // namespace

TEST(CEventListParser, VexNoiseMessagesBecomeFlaggedNotesOfTheirChannelsTrack)
{
    SmfBuilder smf(0, 96);
    smf.AddTrack()
        .SysEx(0, vex(1, 2, 40, 90))
        .SysEx(48, vex(0, 2, 40, 0))
        .SysEx(50, vex(2, 2, 40, 90))                 // byte 4 = 2: dropped
        .SysEx(60, {0x7E, 0x7F, 0x06, 0x01, 0xF7})    // an identity request: dropped
        .SysEx(70, {DaskMidiId, 0x3F, 0x78, 0x01, 1}) // under 8 data bytes: dropped
        .SysEx(80, vex(1, 40, 40, 90))                // a channel above 15: dropped
        .NoteOn(90, 5, 60, 100)
        .NoteOff(100, 5, 60);
    const auto image = smf.Build();
    CEventListParser p;
    ASSERT_EQ(p.ParseImage(image.data(), uint32_t(image.size())), 0);
    std::vector<std::tuple<uint32_t, uint8_t, int, int>> events;
    for (const auto& e : p.GetEvents())
        if (e->status != 0xFF) events.emplace_back(e->time, e->status, e->track, e->flags);
    EXPECT_EQ(events, (std::vector<std::tuple<uint32_t, uint8_t, int, int>>{
                          {0, 0x92, 3, 0x10}, {48, 0x82, 3, 0x10}, {90, 0x95, 6, 0}, {100, 0x85, 6, 0}}));
    const CMidiEvent& on = *p.GetEvent(1);
    EXPECT_EQ(on.length, 11u);
    EXPECT_EQ(on.data[0], 40);
    EXPECT_EQ(on.data[1], 90);
    EXPECT_EQ(on.paired, 1u);
    EXPECT_EQ(on.duration, 48u);
    EXPECT_EQ(p.GetTrackTotalEvents(3), 2u);
    EXPECT_EQ(p.GetTrack(3)->channel, 2);
}

TEST(CEventListParser, AFormatOneFileKeepsNoSystemExclusive)
{
    SmfBuilder smf(1, 96);
    smf.AddTrack().TimeSig(0, 4, 2);
    smf.AddTrack().SysEx(0, vex(1, 0, 40, 90)).NoteOn(10, 0, 60, 90).NoteOff(20, 0, 60);
    const auto image = smf.Build();
    CEventListParser p;
    ASSERT_EQ(p.ParseImage(image.data(), uint32_t(image.size())), 0);
    for (const auto& e : p.GetEvents()) {
        EXPECT_NE(e->status, 0xF0);
        EXPECT_EQ(e->flags & CMidiEvent::kVexNoise, 0);
    }
}
