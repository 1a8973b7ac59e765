// Which commands take the open edit frame's edit into its item before they
// run: every list command that reads an item's bytes or closes the frame,
// and the tree's pastes and deletes that reach the chord variation the
// track editor holds (which also close the editor).
#include "docs/style/core/StyCommandRules.h"
#include "docs/style/core/StyTreeRules.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

TEST(StyCommandWritesBackFirst, ReadersAndReplacersWriteBackTheRestDoNot)
{
    using C = StyCommand;
    // They read the item's bytes (into the clipboard, files, the player, reports).
    const C readers[] = {C::Copy,       C::ExtractItem,       C::ExtractAll,  C::StyleToMidi,
                         C::PadToMidi,  C::StartStopPlayback, C::StyleToText, C::TextDump,
                         C::DumpToText, C::ItemsReport};
    // They close the frame before they change, move or replace items.
    const C replacers[] = {C::Cut,      C::Delete, C::Empty,      C::ImportItems, C::MoveUp,
                           C::MoveDown, C::Rename, C::Properties, C::StsView,     C::CleanStyleEvents};
    // They touch no stored item, or do nothing.
    const C others[] = {C::SelectAll, C::Paste, C::ConvertQeToWq, C::PlaybackPadItem};
    for (C c : readers)
        EXPECT_TRUE(StyCommandWritesBackFirst(c)) << "command " << int(c);
    for (C c : replacers)
        EXPECT_TRUE(StyCommandWritesBackFirst(c)) << "command " << int(c);
    for (C c : others)
        EXPECT_FALSE(StyCommandWritesBackFirst(c)) << "command " << int(c);
}

TEST(StyEditReachesOpenCv, TheOpenCvItsElementAndItsTracks)
{
    const QeTreeSelection open{0, 1, 255}; // Variation1 CV2
    const struct {
        QeTreeSelection target;
        bool reaches;
    } cases[] = {
        {{0, 255, 255}, true},                      // its element
        {{0, 1, 255}, true},                        // itself
        {{0, 1, 3}, true},                          // one of its tracks
        {{0, 2, 255}, false},                       // another CV of the element
        {{0, 0, 2}, false},                         // a track of another CV
        {{1, 255, 255}, false}, {{1, 1, 3}, false}, // another element
    };
    for (const auto& c : cases)
        EXPECT_EQ(StyEditReachesOpenCv(c.target, open), c.reaches)
            << int(c.target.element) << "/" << int(c.target.cv) << "/" << int(c.target.track);
    // No track editor open: nothing reaches it.
    EXPECT_FALSE(StyEditReachesOpenCv({0, 1, 255}, {}));
    EXPECT_FALSE(StyEditReachesOpenCv({0, 255, 255}, {0, 255, 255}));
}

} // namespace
} // namespace zib
