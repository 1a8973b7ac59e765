// What the style and pad windows offer: the list popup's greying, the
// command ids of the lists, the menus of the documents and edit frames, and
// the buttons of their bars.
#include "ui/core/CommandIds.h"
#include "ui/core/ToolbarButtons.h"
#include "docs/style/core/StyCommandIds.h"
#include "docs/style/core/StyListCommands.h"
#include "docs/style/core/StyMenus.h"
#include "docs/style/core/StyTreeMenus.h"
#include "docs/style/core/StyWindowCommandIds.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace zib {
namespace {

using C = StyCommand;

StyListState listOf(uint32_t model, int items, int selected, int focused, uint32_t viewMode = 1)
{
    StyListState s;
    s.model = model;
    s.items = items;
    s.selected = selected;
    s.focused = focused;
    s.focusedSelected = focused >= 0 && selected > 0;
    s.focusedHasData = true;
    s.fileKind = 2;
    s.viewMode = viewMode;
    return s;
}

std::vector<C> enabledInPopup(const StyListState& s)
{
    std::vector<C> out;
    for (C c : {C::Cut, C::Copy, C::Paste, C::ExtractItem, C::ImportItems, C::Delete, C::Empty, C::Rename,
                C::StyleToText, C::StyleToMidi, C::ConvertQeToWq, C::Properties})
        if (StyPopupEnabled(c, s)) out.push_back(c);
    return out;
}

TEST(StyListPopup, GreyingByDocumentSelectionAndView)
{
    StyListState clip = listOf('9', 3, 1, 0);
    clip.clipboardHasBlock = true;
    const struct {
        const char* what;
        StyListState state;
        std::vector<C> enabled;
    } cases[] = {
        {"Wq row selected and focused, block on the clipboard", clip,
         {C::Cut, C::Copy, C::Paste, C::ExtractItem, C::ImportItems, C::Delete, C::Empty, C::Rename, C::StyleToText,
          C::StyleToMidi, C::Properties}},
        {"Wq, nothing selected", listOf('9', 3, 0, -1), {C::ImportItems}},
        {"Wq, focused but not selected", listOf('9', 3, 0, 1), {C::ImportItems, C::Rename, C::StyleToText}},
        {"empty document", listOf(' ', 0, 0, -1), {C::ImportItems}},
        {"Qe style view: no text conversion", listOf('F', 3, 1, 0),
         {C::Cut, C::Copy, C::ExtractItem, C::ImportItems, C::Delete, C::Empty, C::Rename, C::StyleToMidi,
          C::Properties}},
        {"Qe STS view", listOf('X', 3, 1, 0, 2), {C::Copy, C::Empty, C::Rename, C::Properties}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(enabledInPopup(c.state), c.enabled) << c.what;
}

TEST(StyListCommands, EveryListCommandHasOneIdBothWays)
{
    const std::vector<int> ids = StyListCommandIds();
    EXPECT_EQ(ids.size(), 23u) << "the pad's playback shares 32784";
    for (int id : ids) {
        const std::optional<C> c = StyCommandOfId(id);
        ASSERT_TRUE(c) << id;
        EXPECT_EQ(StyIdOfCommand(*c), id);
    }
    EXPECT_EQ(StyCommandOfId(32784), C::StartStopPlayback);
    EXPECT_EQ(StyCommandOfId(stycmd::DumpToText), C::DumpToText);
    EXPECT_FALSE(StyCommandOfId(12345));
}

// Every command id of a menu bar or popup.
std::vector<int> idsOf(const std::vector<MenuItemDef>& items)
{
    return MenuCommandIds(items);
}

bool has(const std::vector<int>& ids, int id)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

TEST(StyWindowMenus, DocumentAndFrameMenusCarryTheirCommands)
{
    const std::vector<int> style = idsOf(StyDocMenuDef());
    for (int id : {stycmd::StyleToMidi, stycmd::StartStopPlayback, stycmd::StyleToText, stycmd::TextDump,
                   stycmd::ItemsReport, stycmd::CleanStyleEvents, stycmd::ConvertQeToWq, stycmd::ExtractAll,
                   stycmd::StsView, stycmd::Properties, cmd::QeTrackToWqTrackSettings})
        EXPECT_TRUE(has(style, id)) << id;
    const std::vector<int> pad = idsOf(PadDocMenuDef());
    for (int id : {stycmd::PadToMidi, stycmd::PlaybackPadItem, stycmd::ExtractAll, stycmd::Properties})
        EXPECT_TRUE(has(pad, id)) << id;
    EXPECT_FALSE(has(pad, stycmd::StsView));

    // Menu 233 as the edit frames show it.
    const std::vector<int> frame = idsOf(StyEditFrameMenuDef());
    for (int id : {stycmd::DeleteItems, stycmd::StyleFlags, stycmd::WqStyleProperties, stycmd::TrackInfo,
                   stycmd::ChordTable, stycmd::Ntt, stycmd::WqChordTable, stycmd::WqCvParameters,
                   stycmd::EditTrackEvents, stycmd::PlayCv, stycmd::PlayTrack, cmd::CollectWqCvMidi,
                   cmd::CollectQeCvMidi, cmd::SortingMethod, cmd::PlaybackSettings})
        EXPECT_TRUE(has(frame, id)) << id;
    EXPECT_EQ(StyEditFrameMenuDef().size(), 7u) << "File, Edit, View, Utils, Setup, Window, Help";

    EXPECT_TRUE(has(idsOf(StyElementPopupDef()), stycmd::AddCv));
    EXPECT_TRUE(has(idsOf(StyCvPopupDef()), stycmd::DeleteCv));
    EXPECT_TRUE(has(idsOf(StyTrackPopupDef()), stycmd::SetKeyChord));
    EXPECT_TRUE(has(idsOf(StsPopupDef()), stycmd::Properties));
    EXPECT_TRUE(has(idsOf(StyPopupMenuDef()), stycmd::ConvertQeToWq));
}

TEST(StyWindowMenus, TheStyleBarsHaveTheirButtons)
{
    auto idsOfBar = [](MainBar bar) {
        std::vector<int> ids;
        for (const ToolButtonDef& b : ToolbarButtons(bar))
            if (b.id) ids.push_back(b.id);
        return ids;
    };
    EXPECT_EQ(idsOfBar(MainBar::MoveItem), (std::vector<int>{32771, 32772}));
    EXPECT_EQ(idsOfBar(MainBar::StyleTree), (std::vector<int>{291, 292, 293, 294}));
    for (const ToolButtonDef& b : ToolbarButtons(MainBar::StyleTree))
        EXPECT_TRUE(b.toggle);
    EXPECT_EQ(idsOfBar(MainBar::StyDoc),
              (std::vector<int>{stycmd::ExtractItem, stycmd::ImportItems, stycmd::DeleteItems, stycmd::DumpToText,
                                stycmd::StyleToMidi, stycmd::StartStopPlayback}));
}

} // namespace
} // namespace zib
