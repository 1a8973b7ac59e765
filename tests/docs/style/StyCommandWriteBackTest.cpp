// Which list commands take the open edit frame's edit into its item before
// they run: every one that reads an item's bytes or closes the frame.
#include "docs/style/core/StyCommandRules.h"

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

} // namespace
} // namespace zib
