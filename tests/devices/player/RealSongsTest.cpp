#include "tests/devices/player/PlayerRig.h"

#include "midi/MidiEventKind.h"
#include "tests/support/RealFixtures.h"

#include <gtest/gtest.h>

namespace zib::test {
namespace {

// Every real MIDI file plays to its end: each channel event of the song is
// sent once, in time order, and the run finishes with every stream closed.
TEST(RealSongsTest, EveryRealMidiFilePlaysWholeAndInOrder)
{
    const auto files = realFixtureFiles("midi");
    if (files.empty()) GTEST_SKIP() << "no real MIDI files";
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        PlayerRig rig(readFileBytes(path));
        ASSERT_EQ(rig.doc.parseResult, 0);
        size_t channelEvents = 0;
        for (const auto& e : rig.doc.sequence.GetEvents())
            if (e->track != 0 && isChannelStatus(e->status)) ++channelEvents;
        if (channelEvents == 0) continue;
        rig.Start();
        ASSERT_TRUE(rig.RunToEnd(3'600'000'000LL));
        const auto played = rig.Played(false);
        EXPECT_EQ(played.size(), channelEvents);
        for (size_t i = 1; i < played.size(); ++i) EXPECT_LE(played[i - 1].tick, played[i].tick);
        EXPECT_TRUE(rig.view.errors.empty());
        EXPECT_EQ(rig.host.devices->OpenStreamCount(), 0);
    }
}

} // namespace
} // namespace zib::test
