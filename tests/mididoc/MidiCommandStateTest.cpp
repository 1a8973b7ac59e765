#include "mididoc/core/MidiCommandState.h"
#include "mididoc/core/MidiCommands.h"
#include "mididoc/core/MidiDocMenu.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>

using namespace zib;
namespace mc = zib::midicmd;

namespace {

using K = ChildKind;
using ContextSetup = std::function<void(MidiCommandContext&)>;

MidiCommandContext idle()
{
    MidiCommandContext c;
    c.hasTracks = true;
    c.undoAvailable = true;
    c.redoAvailable = true;
    c.trackListHasFocusedRow = true;
    c.clipboardHasZib = true;
    c.listRowCount = 5;
    c.listHasSelection = true;
    return c;
}

const ContextSetup playing = [](MidiCommandContext& c) { c.playing = true; };
const ContextSetup nothing = [](MidiCommandContext&) {};

} // namespace

TEST(MidiCommandState, EnablingRulesOfTheMidiWindows)
{
    const struct {
        const char* what;
        int command;
        ChildKind frame;
        ContextSetup setup;
        bool enabled;
    } cases[] = {
        // Undo and Redo wait for the player in every window of the document.
        {"undo idle", mc::EditUndo, K::ChildSplitterMid, nothing, true},
        {"undo playing", mc::EditUndo, K::ChildSplitterMid, playing, false},
        {"redo playing, MIDI window", mc::EditRedo, K::ChildSplitterMid, playing, false},
        {"redo playing, whole-file editor", mc::EditRedo, K::MidiEditEx, playing, false},
        {"redo playing, tempo editor", mc::EditRedo, K::MidiTempoTrackEdit, playing, false},
        {"redo empty stack", mc::EditRedo, K::MidiEditEx, [](auto& c) { c.redoAvailable = false; }, false},
        // Record needs a track armed with an input.
        {"record without armed track", mc::Record, K::ChildSplitterMid, nothing, false},
        {"record with armed track", mc::Record, K::ChildSplitterMid,
         [](auto& c) { c.recordArmedWithInput = true; }, true},
        {"stop idle", mc::Stop, K::ChildSplitterMid, nothing, false},
        {"stop playing", mc::Stop, K::MidiTempoTrackEdit, playing, true},
        // Insert item is greyed only while playing.
        {"insert without tracks", mc::InsertItem, K::ChildSplitterMid,
         [](auto& c) { c.hasTracks = false; c.trackListHasFocusedRow = false; }, true},
        {"insert playing", mc::InsertItem, K::ChildSplitterMid, playing, false},
        {"insert menu playing, editor", mc::InsertItemMenu, K::MidiEditEx, playing, false},
        {"delete tracks without tracks", mc::Delete, K::ChildSplitterMid, [](auto& c) { c.hasTracks = false; },
         false},
        {"edit item without focused row", mc::EditItem, K::ChildSplitterMid,
         [](auto& c) { c.trackListHasFocusedRow = false; }, false},
        {"delete from-thru playing", mc::DeleteFromThru, K::ChildSplitterMid, playing, false},
        {"transpose file without tracks", mc::TransposeMidiFile, K::ChildSplitterMid,
         [](auto& c) { c.hasTracks = false; }, false},
        {"transpose file playing", mc::TransposeMidiFile, K::ChildSplitterMid, playing, false},
        {"loop while recording", mc::SetLoop, K::ChildSplitterMid, [](auto& c) { c.recordFlag = true; }, false},
        {"midi to style while playing", mc::MidiToQe4kStyle, K::ChildSplitterMid, playing, true},
        // The tempo editor: Properties and Delete wait for the player; Delete
        // spares the first time signature in the time-signature view.
        {"tempo properties playing", mc::Properties, K::MidiTempoTrackEdit, playing, false},
        {"tempo properties idle", mc::Properties, K::MidiTempoTrackEdit, nothing, true},
        {"tempo delete playing", mc::Delete, K::MidiTempoTrackEdit, playing, false},
        {"tempo delete first signature, view 0", mc::Delete, K::MidiTempoTrackEdit,
         [](auto& c) { c.tempoViewKind = 0; c.tempoFirstTimeSigSelected = true; }, false},
        {"tempo delete later signature, view 0", mc::Delete, K::MidiTempoTrackEdit,
         [](auto& c) { c.tempoViewKind = 0; }, true},
        {"tempo delete first signature, view 5", mc::Delete, K::MidiTempoTrackEdit,
         [](auto& c) { c.tempoViewKind = 5; c.tempoFirstTimeSigSelected = true; }, true},
        // Shift is refused in the time-signature and all-events views.
        {"tempo shift view 0", mc::ShiftEvents, K::MidiTempoTrackEdit, [](auto& c) { c.tempoViewKind = 0; }, false},
        {"tempo shift view 5", mc::ShiftEvents, K::MidiTempoTrackEdit, [](auto& c) { c.tempoViewKind = 5; }, false},
        {"tempo shift view 2", mc::ShiftEvents, K::MidiTempoTrackEdit, [](auto& c) { c.tempoViewKind = 2; }, true},
        {"tempo shift view 2, all flag", mc::ShiftEvents, K::MidiTempoTrackEdit,
         [](auto& c) { c.tempoViewKind = 2; c.tempoTimeSigOrAllFlag = true; }, false},
        {"tempo shift view 1 playing", mc::ShiftEvents, K::MidiTempoTrackEdit,
         [](auto& c) { c.tempoViewKind = 1; c.playing = true; }, false},
        // Copy and paste of the whole-file editor.
        {"editor copy without selection", mc::EditCopy, K::MidiEditEx, [](auto& c) { c.listHasSelection = false; },
         false},
        {"editor paste without private format", mc::EditPaste, K::MidiEditEx,
         [](auto& c) { c.clipboardHasZib = false; }, false},
        {"editor paste playing", mc::EditPaste, K::MidiEditEx, playing, false},
        {"window paste without private format", mc::EditPaste, K::ChildSplitterMid,
         [](auto& c) { c.clipboardHasZib = false; }, false},
        // Copy and paste of the pad and style track editors, by kind value and model letter.
        {"pad copy, Qe4k", mc::EditCopy, K::MidiEditPadTrack, [](auto& c) { c.fileKind = 5; c.modelLetter = 'F'; },
         true},
        {"style copy, Qe9z", mc::EditCopy, K::MidiEditStyTrack, [](auto& c) { c.fileKind = 2; c.modelLetter = 'X'; },
         true},
        {"style copy, Wq8", mc::EditCopy, K::MidiEditStyTrack, [](auto& c) { c.fileKind = 2; c.modelLetter = '9'; },
         false},
        {"pad paste, Qe4k", mc::EditPaste, K::MidiEditPadTrack, [](auto& c) { c.fileKind = 5; c.modelLetter = 'F'; },
         true},
        {"style paste, Wq41", mc::EditPaste, K::MidiEditStyTrack, [](auto& c) { c.fileKind = 2; c.modelLetter = 'I'; },
         false},
        {"paste, kind 0", mc::EditPaste, K::MidiEditStyTrack, [](auto& c) { c.fileKind = 0; c.modelLetter = 'F'; },
         false},
        {"pad copy, empty list", mc::EditCopy, K::MidiEditPadTrack,
         [](auto& c) { c.fileKind = 5; c.modelLetter = 'F'; c.listRowCount = 0; }, false},
        // The pad and style lists keep working while the MIDI document plays.
        {"pad insert, document playing", mc::InsertItem, K::MidiEditPadTrack, playing, true},
        {"pad undo, document playing", mc::EditUndo, K::MidiEditPadTrack, playing, false},
    };
    for (const auto& c : cases) {
        MidiCommandContext context = idle();
        c.setup(context);
        const MidiCommandUi ui = MidiCommandState(c.command, c.frame, context);
        EXPECT_TRUE(ui.routed) << c.what;
        EXPECT_EQ(ui.enabled, c.enabled) << c.what;
    }
}

TEST(MidiCommandState, CommandsAWindowDoesNotTakeAreNeitherRoutedNorEnabled)
{
    const MidiCommandContext c = idle();
    EXPECT_FALSE(MidiCommandState(mc::NoteEvents, K::ChildSplitterMid, c).routed);
    EXPECT_FALSE(MidiCommandState(mc::EditCopy, K::MidiTempoTrackEdit, c).enabled);
    EXPECT_FALSE(MidiCommandState(mc::Play, K::MidiEditPadTrack, c).routed);
    EXPECT_FALSE(MidiCommandState(mc::EditUndo, K::ChildSty, c).enabled);
}

TEST(MidiCommandState, PlayRecordAndLoopMarksFollowTheFlags)
{
    MidiCommandContext c = idle();
    c.playing = true;
    c.recordFlag = true;
    c.recordArmedWithInput = true;
    c.loopFlag = true;
    for (ChildKind frame : {K::ChildSplitterMid, K::MidiEditEx, K::MidiTempoTrackEdit}) {
        EXPECT_EQ(MidiCommandState(mc::Play, frame, c), (MidiCommandUi{true, true, true, true}));
        EXPECT_EQ(MidiCommandState(mc::Record, frame, c), (MidiCommandUi{true, true, true, true}));
        EXPECT_EQ(MidiCommandState(mc::SetLoop, frame, c), (MidiCommandUi{true, false, true, true}));
    }
    c.playing = c.recordFlag = c.loopFlag = false;
    EXPECT_FALSE(MidiCommandState(mc::Play, K::ChildSplitterMid, c).checked);
    EXPECT_FALSE(MidiCommandState(mc::Record, K::ChildSplitterMid, c).pressed);
}

TEST(MidiCommandState, FilterItemIsCheckedWhileShownAndItsButtonPressedWhileHidden)
{
    MidiCommandContext c = idle();
    for (ChildKind frame : {K::MidiEditEx, K::MidiEditPadTrack, K::MidiEditStyTrack}) {
        for (int command = mc::NoteEvents; command <= mc::TextEvents; ++command) {
            const auto index = size_t(mc::FilterIndex(command));
            c.filterShown[index] = false;
            EXPECT_EQ(MidiCommandState(command, frame, c), (MidiCommandUi{true, true, false, true})) << command;
            c.filterShown[index] = true;
            EXPECT_EQ(MidiCommandState(command, frame, c), (MidiCommandUi{true, true, true, false})) << command;
        }
    }
}

TEST(MidiCommandState, TrackListPopupEnablesItsItemsByRowAndEvents)
{
    const struct {
        int command;
        bool focused, playing, events, enabled;
    } cases[] = {
        {mc::Delete, true, false, false, true},          {mc::Delete, false, false, true, false},
        {mc::InsertItemMenu, true, true, true, false},   {mc::EditItem, true, false, false, true},
        {mc::TransposeEvents, true, false, false, true}, {mc::ShiftEvents, false, false, false, false},
        {mc::DeleteFromThru, false, false, true, true},  {mc::DeleteFromThru, true, false, false, false},
        {mc::SoloTrack, false, true, true, true},        {mc::MutePlayTrack, false, false, true, true},
        {mc::UnSoloTrack, true, false, true, false},     {mc::PlayMidiFile, true, false, true, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TrackListPopupEnabled(c.command, c.focused, c.playing, c.events), c.enabled) << c.command;
}
