#include "app/core/MainFrameCloseRule.h"

#include <gtest/gtest.h>

using namespace zib;

TEST(MainFrameCloseRule, RefusesWhileMidiPlaysWhicheverChildIsActive)
{
    for (ChildKind k : {ChildKind::None, ChildKind::ChildSplitterMid, ChildKind::MidiEditEx,
                        ChildKind::MidiTempoTrackEdit, ChildKind::ChildSty, ChildKind::TextViewer}) {
        EXPECT_EQ(MainFrameCloseDecision(k, true), CloseDecision::Refuse) << int(k);
        EXPECT_EQ(MainFrameCloseDecision(k, false), CloseDecision::Close) << int(k);
    }
}
