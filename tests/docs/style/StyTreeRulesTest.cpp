// Which commands of the style and pad trees and their edit frames are
// enabled, and what a right click opens.
#include "ui/core/CommandIds.h"
#include "docs/style/core/StyCommandIds.h"
#include "docs/style/core/StyTreeRules.h"
#include "docs/style/core/StyWindowCommandIds.h"
#include "tests/support/FakeQeStyleEditor.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

using A = StyTreeRightClick::Action;
using test::FakeQeStyleEditor;

StyTreeState qeState(FakeQeStyleEditor& editor, QeTreeSelection s, bool clipboard = false, bool pad = false)
{
    return StyTreeState::OfQe(editor, s, s.element == 255, clipboard, pad);
}

StyTreeState wqState(QeTreeSelection s)
{
    StyTreeState st;
    st.qe = false;
    st.selection = s;
    st.rootSelected = s.element == 255;
    return st;
}

// The ids of a popup's enabled commands.
std::vector<int> enabledOf(const StyTreeRightClick& r)
{
    std::vector<int> out;
    for (const auto& [id, on] : r.enabled)
        if (on) out.push_back(id);
    return out;
}

TEST(StyTreeRules, RightClickOnTheRootAndWqElementsOpensTheirDialogs)
{
    FakeQeStyleEditor editor;
    EXPECT_EQ(StyTreeRightClickFor(qeState(editor, {})).action, A::StyleFlags);
    EXPECT_EQ(StyTreeRightClickFor(wqState({})).action, A::WqStyleProperties);
    EXPECT_EQ(StyTreeRightClickFor(wqState({2, 255, 255})).action, A::WqChordTable);
    EXPECT_EQ(StyTreeRightClickFor(StyTreeState{}).action, A::None) << "nothing hit";
}

TEST(StyTreeRules, PopupGreyingByNodeKindSeriesAndData)
{
    FakeQeStyleEditor editor;
    editor.cvWithData(0, 0);
    editor.cvStatus[0][1] = 1;
    editor.patternStatus[0][0][4] = 1;
    editor.elementStatus[4] = 1;
    editor.cvStatus[4][0] = 1;
    editor.cvStatus[4][1] = 1;
    const int cut = cmd::EditCut, copy = cmd::EditCopy, paste = cmd::EditPaste;
    using namespace stycmd;
    const struct {
        const char* what;
        StyTreeState state;
        A action;
        std::vector<int> enabled;
    } cases[] = {
        {"element with data", qeState(editor, {0, 255, 255}), A::ElementPopup,
         {copy, paste, DeleteElement, AddCv, TrackInfo, ChordTable, Ntt}},
        {"element without data, both CVs present", qeState(editor, {4, 255, 255}), A::ElementPopup,
         {TrackInfo, ChordTable, Ntt}},
        {"absent element", qeState(editor, {6, 255, 255}), A::ElementPopup, {AddCv, TrackInfo, ChordTable, Ntt}},
        {"CV with data", qeState(editor, {0, 0, 255}), A::CvPopup, {copy, paste, DeleteCv, PlayCv}},
        {"CV without data", qeState(editor, {0, 1, 255}), A::CvPopup, {paste}},
        {"Wq CV", wqState({0, 0, 255}), A::CvPopup, {WqCvParameters, PlayCv}},
        {"track with data", qeState(editor, {0, 0, 2}), A::TrackPopup,
         {DeleteTrack, SetKeyChord, PlayTrack, EditTrackEvents}},
        {"DRUM has no key-chord", qeState(editor, {0, 0, 0}), A::TrackPopup, {DeleteTrack, PlayTrack, EditTrackEvents}},
        {"PERC has no key-chord", qeState(editor, {0, 0, 1}), A::TrackPopup, {DeleteTrack, PlayTrack, EditTrackEvents}},
        {"empty pattern", qeState(editor, {0, 0, 4}), A::TrackPopup, {}},
        {"Wq track", wqState({0, 0, 3}), A::TrackPopup, {PlayTrack, EditTrackEvents}},
    };
    for (const auto& c : cases) {
        const StyTreeRightClick r = StyTreeRightClickFor(c.state);
        EXPECT_EQ(r.action, c.action) << c.what;
        EXPECT_EQ(enabledOf(r), c.enabled) << c.what;
        EXPECT_FALSE(r.IsEnabled(cut)) << c.what;
    }
}

TEST(StyTreeRules, FrameCommandsFollowTheSelection)
{
    FakeQeStyleEditor editor;
    editor.cvWithData(0, 0);
    editor.patternStatus[0][0][5] = 1;
    editor.elementStatus[4] = 1;
    editor.cvStatus[4][0] = 1;
    using namespace stycmd;
    const int copy = cmd::EditCopy, paste = cmd::EditPaste;
    const std::vector<int> ids{StartStopPlayback, StyleFlags,        TrackInfo,    Ntt,         ChordTable,
                               EditTrackEvents,   EditItem,          WqCvParameters, PlayCv,    PlayTrack,
                               WqStyleProperties, WqChordTable,      SetKeyChord,  cmd::EditCut, DeleteItems,
                               copy,              paste};
    const struct {
        const char* what;
        StyTreeState state;
        std::vector<int> enabled;
    } cases[] = {
        {"Qe root", qeState(editor, {}, true), {StyleFlags}},
        {"Wq root", wqState({}), {StartStopPlayback, WqStyleProperties}},
        {"Qe element with data", qeState(editor, {0, 255, 255}, true),
         {TrackInfo, Ntt, ChordTable, DeleteItems, copy, paste}},
        {"Qe element without data, no block", qeState(editor, {4, 255, 255}), {}},
        {"Qe CV with data", qeState(editor, {0, 0, 255}), {StartStopPlayback, PlayCv, DeleteItems, copy}},
        {"Qe CV without data", qeState(editor, {4, 0, 255}, true), {paste}},
        {"Qe track with data", qeState(editor, {0, 0, 1}, true),
         {StartStopPlayback, EditTrackEvents, EditItem, PlayTrack, SetKeyChord, DeleteItems}},
        {"Qe empty pattern", qeState(editor, {0, 0, 5}), {EditTrackEvents, EditItem, SetKeyChord}},
        {"Wq element", wqState({1, 255, 255}), {StartStopPlayback, WqChordTable}},
        {"Wq CV", wqState({1, 0, 255}), {StartStopPlayback, WqCvParameters, PlayCv}},
        {"Wq track", wqState({1, 0, 0}), {StartStopPlayback, EditTrackEvents, EditItem, PlayTrack}},
        {"pad root", qeState(editor, {}, false, true), {StyleFlags}},
    };
    for (const auto& c : cases) {
        std::vector<int> enabled;
        for (int id : ids)
            if (StyFrameCommandEnabled(id, c.state)) enabled.push_back(id);
        EXPECT_EQ(enabled, c.enabled) << c.what;
    }
    // The pad frame has none of the Wq commands.
    StyTreeState pad = wqState({1, 0, 255});
    pad.pad = true;
    EXPECT_FALSE(StyFrameCommandEnabled(WqCvParameters, pad));
    pad.selection = {};
    pad.rootSelected = true;
    EXPECT_FALSE(StyFrameCommandEnabled(WqStyleProperties, pad));
}

TEST(StyTreeRules, PlayUsesOnlyCvAndTrackNodes)
{
    EXPECT_EQ(StyPlaySelection({2, 255, 255}).element, 255);
    EXPECT_EQ(StyPlaySelection({2, 1, 255}).cv, 1);
    EXPECT_EQ(StyPlaySelection({2, 1, 3}).track, 3);
}

} // namespace
} // namespace zib
