#include "ui/core/CommandIds.h"
#include "ui/core/StatusPanes.h"
#include "ui/core/ToolbarButtons.h"
#include "ui/core/ToolbarChoice.h"

#include <gtest/gtest.h>
#include <string>

using namespace zib;

namespace {

BarFlags allOn()
{
    BarFlags f;
    f.fill(true);
    return f;
}

// The bars a choice shows, as one letter each in MainBar order, '.' hidden, '=' kept:
// Standard, StyDoc, MoveItem, MidiDoc, StyleTree, MidiEdit, MidiPlay, MidiTempo, MidiPosition, MidiSelection.
std::string shown(const ToolbarChoice& c)
{
    const char letters[] = "SDMmTEPtps";
    std::string out;
    for (int i = 0; i < kMainBarCount; ++i) {
        BarAction a = c.actions[size_t(i)];
        out += a == BarAction::Show ? letters[i] : a == BarAction::Keep ? '=' : '.';
    }
    return out;
}

} // namespace

TEST(ToolbarChoice, BarSetPerActiveChild)
{
    using K = ChildKind;
    const auto F = MidiDocButtons::Full, R = MidiDocButtons::Reduced, U = MidiDocButtons::Unchanged;
    struct Case {
        ChildKind kind;
        bool midiViewer;
        const char* bars;
        std::optional<MainBar> docBar;
        MidiDocButtons buttons;
    } cases[] = {
        {K::None, false, "S.........", MainBar::Standard, U},
        {K::ChildSty, false, "=DM.TE....", MainBar::StyDoc, U},
        {K::StyPropSplitter, false, "=DM.TE....", MainBar::StyleTree, U},
        {K::PadPropSplitter, false, "=DM.TE....", MainBar::StyleTree, U},
        {K::MidiEditStyTrack, false, "=DM.TE....", MainBar::MidiEdit, U},
        {K::MidiEditPadTrack, false, "=DM.TE....", MainBar::MidiEdit, U},
        {K::MidiEditEx, false, "=..m..Ptps", MainBar::MidiDoc, F},
        {K::ChildSplitterMid, false, "=..m..Ptps", MainBar::MidiDoc, F},
        {K::MidiTempoTrackEdit, false, "=..m..Ptps", MainBar::MidiDoc, R},
        {K::TextViewer, true, "=..m..Ptps", MainBar::MidiDoc, U},
        {K::TextViewer, false, "=DM.TE....", MainBar::StyDoc, U},
        {K::PlayMidiFile, false, "=DM.TE....", MainBar::StyleTree, U},
        {K::ChildPrf, false, "=.M.......", MainBar::MoveItem, U},
        {K::ChildPad, false, "=DM.TE....", MainBar::StyDoc, U},
        {K::ChildArr, false, "=.M.......", MainBar::MoveItem, U},
        {K::ChildPcg, false, "=.M.......", MainBar::MoveItem, U},
        {K::ChildGbl, false, "=.M.......", MainBar::MoveItem, U},
        {K::ChildArg, false, "=.M.......", MainBar::MoveItem, U},
        {K::ChildFrame, false, "=.........", std::nullopt, U},
        {K::Other, false, "=.........", std::nullopt, U},
    };
    for (const auto& c : cases) {
        auto choice = ChooseToolbars(c.kind, c.midiViewer, allOn());
        EXPECT_EQ(shown(choice), c.bars) << int(c.kind);
        EXPECT_EQ(choice.documentBar, c.docBar) << int(c.kind);
        EXPECT_EQ(choice.midiDocButtons, c.buttons) << int(c.kind);
    }
}

TEST(ToolbarChoice, FlagsGovernEveryBarButStandardWithoutAChild)
{
    BarFlags flags = allOn();
    flags[size_t(BarFlag::Standard)] = false;
    flags[size_t(BarFlag::StyDoc)] = false;
    flags[size_t(BarFlag::MidiDoc)] = false;
    // No child: Standard shows even when switched off.
    EXPECT_EQ(shown(ChooseToolbars(ChildKind::None, false, flags)), "S.........");
    // Style window: StyDoc stays hidden, MoveItem visible, MidiEdit follows MidiDoc's flag.
    EXPECT_EQ(shown(ChooseToolbars(ChildKind::ChildSty, false, flags)), "=.M.T.....");
    EXPECT_EQ(shown(ChooseToolbars(ChildKind::ChildSplitterMid, false, flags)), "=.....Ptps");
    EXPECT_EQ(FlagOfBar(MainBar::MidiEdit), BarFlag::MidiDoc);
}

TEST(ToolbarChoice, SlotsAndDialogKinds)
{
    using K = ChildKind;
    struct Case {
        ChildKind kind;
        bool midiViewer;
        int slot;
        int dialogKind;
    } cases[] = {
        {K::None, false, 7, 0},
        {K::StyPropSplitter, false, 6, 9},
        {K::PadPropSplitter, false, 7, 10},
        {K::MidiEditStyTrack, false, 5, 11},
        {K::MidiEditPadTrack, false, 7, 12},
        {K::MidiEditEx, false, 4, 7},
        {K::MidiTempoTrackEdit, false, 7, 8},
        {K::ChildSplitterMid, false, 3, 5},
        {K::TextViewer, true, 3, 5},
        {K::TextViewer, false, 0, 1},
        {K::PlayMidiFile, false, 7, 13},
        {K::ChildPrf, false, 1, 2},
        {K::ChildSty, false, 0, 1},
        {K::ChildPcg, false, 2, 3},
        {K::ChildPad, false, 7, 4},
        {K::ChildArr, false, 7, 6},
        {K::ChildGbl, false, 7, 14},
        {K::ChildArg, false, 7, 15},
        {K::ChildFrame, false, 7, 0},
        {K::Other, false, 7, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToolbarSlotFor(c.kind, c.midiViewer), c.slot) << int(c.kind);
        EXPECT_EQ(ToolbarsDialogKind(c.kind, c.midiViewer), c.dialogKind) << int(c.kind);
    }
}

TEST(MainFrameRules, MidiBarsKeepTheirPlacesByTheirOwnContexts)
{
    using K = ChildKind;
    const struct {
        ChildKind kind;
        bool midiViewer;
        int slot;
    } cases[] = {
        {K::None, false, 7},           {K::StyPropSplitter, false, 6}, {K::PadPropSplitter, false, 7},
        {K::MidiEditStyTrack, false, 5}, {K::MidiEditPadTrack, false, 7}, {K::MidiEditEx, false, 4},
        {K::MidiTempoTrackEdit, false, 4}, {K::ChildSplitterMid, false, 3}, {K::TextViewer, true, 3},
        {K::TextViewer, false, 7},     {K::ChildPcg, false, 2},        {K::ChildPrf, false, 1},
        {K::ChildSty, false, 0},       {K::ChildPad, false, 7},        {K::Other, false, 7},
    };
    for (const auto& c : cases)
        for (MainBar bar : {MainBar::MidiTempo, MainBar::MidiPosition, MainBar::MidiSelection})
            EXPECT_EQ(ToolbarSlotFor(bar, c.kind, c.midiViewer), c.slot) << int(c.kind) << " bar " << int(bar);
    // The main bars keep the frame's own slots: the tempo editor is not a context of theirs.
    EXPECT_EQ(ToolbarSlotFor(MainBar::MidiDoc, K::MidiTempoTrackEdit, false), 7);
    EXPECT_EQ(ToolbarSlotFor(MainBar::Standard, K::TextViewer, false), 0);
}

TEST(MainFrameRules, ViewToolbarIsCheckedWhileStandardShowsAndNeedsAnActiveChild)
{
    EXPECT_EQ(ViewToolbarItem(false, true), (ViewToolbarItemState{false, true}));
    EXPECT_EQ(ViewToolbarItem(true, true), (ViewToolbarItemState{true, true}));
    EXPECT_EQ(ViewToolbarItem(true, false), (ViewToolbarItemState{true, false}));
}

TEST(StatusPanes, TextsPerActiveChild)
{
    using K = ChildKind;
    auto status = [](ChildKind k) {
        ChildStatus s;
        s.kind = k;
        return s;
    };
    ChildStatus styProp = status(K::StyPropSplitter);
    styProp.element = 6;
    styProp.chordVariation = 1;
    styProp.track = 3;
    ChildStatus qeProp = styProp;
    qeProp.qeSeries = true;
    qeProp.track = 7;
    ChildStatus cvOnly = status(K::StyPropSplitter);
    cvOnly.element = 0;
    cvOnly.chordVariation = 5;
    ChildStatus elementOnly = status(K::PadPropSplitter); // pads always use the Qe tables
    elementOnly.element = 11;
    ChildStatus list = status(K::ChildSty);
    list.hasViewAndDocument = true;
    list.focusedItemName = std::string("Caf\xE9 Rock");
    list.itemCount = 12;
    list.totalItemSize = 5000000000ull;
    ChildStatus listNoFocus = list;
    listNoFocus.focusedItemName.reset();
    ChildStatus editor = status(K::MidiEditEx);
    editor.eventRows = 345;
    editor.selectedRows = 2;

    struct Case {
        ChildStatus s;
        const char* pane101;
        const char* pane102;
        const char* pane103;
    } cases[] = {
        {status(K::None), "Focused: NONE", "Items num: 0", "Size: 0"},
        {styProp, "Focused: End1CV2 ACC1", "", ""},
        {qeProp, "Focused: Fill1CV2 ACC5", "", ""},
        {cvOnly, "Focused: Variation1CV6", "", ""},
        {elementOnly, "Focused: Intro3", "", ""},
        {status(K::StyPropSplitter), "Focused: NONE", "", ""},
        {list, "Focused: Caf\xC3\xA9 Rock", "Items num: 12", "Size: 5000000000"},
        {listNoFocus, "Focused: NONE", "Items num: 12", "Size: 5000000000"},
        {status(K::ChildPcg), "Focused: NONE", "Items num: 0", "Size: 0"},
        {editor, "", "Events num: 345", "Selected num: 2"},
        {status(K::ChildSplitterMid), "", "", ""},
        {status(K::ChildGbl), "", "", ""},
        {status(K::TextViewer), "", "", ""},
    };
    for (const auto& c : cases) {
        auto panes = StatusPaneTexts(c.s, 0);
        EXPECT_EQ(panes[0], c.pane101) << int(c.s.kind);
        EXPECT_EQ(panes[1], c.pane102) << int(c.s.kind);
        EXPECT_EQ(panes[2], c.pane103) << int(c.s.kind);
    }
    // A language index the table has no column for reads English.
    EXPECT_EQ(StatusPaneTexts(status(K::None), 4)[0], "Focused: NONE");
}

TEST(StatusPanes, EachPaneIsAThirdOfTheWidth)
{
    EXPECT_EQ(StatusPaneWidth(900), 300);
    EXPECT_EQ(StatusPaneWidth(901), 300);
    EXPECT_EQ(StatusPaneWidth(903), 301);
    EXPECT_EQ(StatusPaneWidth(0), 0);
}

TEST(ToolbarButtons, MidiDocSetsAndTooltips)
{
    auto count = [](const std::vector<ToolButtonDef>& set, bool separators) {
        int n = 0;
        for (const auto& b : set)
            n += (b.id == 0) == separators;
        return n;
    };
    const auto full = MidiDocButtonSet(true), reduced = MidiDocButtonSet(false);
    EXPECT_EQ(full.size(), 16u);
    EXPECT_EQ(reduced.size(), 14u);
    EXPECT_EQ(count(full, false), 13);
    EXPECT_EQ(count(reduced, false), 11);
    EXPECT_EQ(full.front().id, 32796);
    EXPECT_EQ(full.back().id, 32847);
    EXPECT_EQ(reduced.back().id, 32946);
    EXPECT_EQ(ToolbarButtons(MainBar::MidiDoc).size(), 16u);
    // The MidiPlay bar holds Play and Record, both buttons that stay pressed.
    const auto play = ToolbarButtons(MainBar::MidiPlay);
    ASSERT_EQ(play.size(), 2u);
    EXPECT_EQ(play[0].id, 32912);
    EXPECT_EQ(play[1].id, 32915);
    EXPECT_TRUE(play[0].toggle && play[1].toggle);
    EXPECT_EQ(ToolTipText("&Open...\tCtrl+O"), "Open...");
    EXPECT_EQ(ToolTipText("&Delete Item(s)"), "Delete Item(s)");
    EXPECT_EQ(ToolTipText("R&&B"), "R&B");
}

TEST(CommandIds, ProgramNumbersMapIntoTheLibraryRange)
{
    for (int id : {cmd::FileNew, cmd::HelpFinder, cmd::ViewStatusBar, cmd::LanguageFrench, cmd::DeleteItems,
                   cmd::FileMruFirst + 3, cmd::Instruments}) {
        const int wx = cmd::ToWxId(id);
        EXPECT_GE(wx, 0) << id;
        EXPECT_LT(wx, 0x7FFF) << id;
        EXPECT_FALSE(wx >= 4000 && wx < 6000) << id; // the library's own ids
        EXPECT_EQ(cmd::FromWxId(wx), id);
    }
    EXPECT_EQ(cmd::FromWxId(cmd::WindowClose), cmd::WindowClose);
    EXPECT_EQ(cmd::FromWxId(5100), 5100); // OK
}
