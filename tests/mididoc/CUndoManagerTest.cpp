// The undo manager: groups, failures, the disabled state, and the batch pass
// that must equal applying records one by one.
#include "mididoc/core/CUndoManager.h"

#include "mididoc/core/MidiDocAllocator.h"
#include "mididoc/core/TrackEditorOwner.h"
#include "tests/mididoc/MidDocTestHelpers.h"

#include <gtest/gtest.h>

#include <random>

using namespace zib;
using namespace zib::test;

namespace {

// A track editor's sequence of `n` controllers on track 1, value i % 128 at tick i
std::vector<uint8_t> controllers(int n)
{
    SmfBuilder smf(0, 96);
    SmfTrack& t = smf.AddTrack();
    for (int i = 0; i < n; ++i)
        t.Controller(uint32_t(i), 0, 1, i % 128);
    return smf.Build();
}

struct Owner {
    TestSettings s;
    std::atomic<int> playing{0};
    RecordingViews views;
    CMidiParserEx sequence;
    std::unique_ptr<TrackEditorOwner> owner;
    explicit Owner(const std::vector<uint8_t>& image)
    {
        EXPECT_EQ(sequence.ParseImage(image.data(), uint32_t(image.size())), 0);
        MidiDocHooks hooks;
        hooks.views = &views;
        owner = std::make_unique<TrackEditorOwner>(EventListOwner::kPadDocument, 'F', s.settings, playing, hooks);
        owner->BindSequence(&sequence);
    }
    CUndoManager& undo() { return owner->Undo(); }
    // Records a modify of the event at i (value v) as the lists do
    void modify(size_t i, uint8_t v, uint32_t groupStart)
    {
        CMidiEvent& e = *sequence.GetEvent(i);
        undo().RecordAction(UndoTargetEvent, e, UndoModify, groupStart, int32_t(i), int32_t(i));
        e.data[1] = v;
    }
};

} // namespace

TEST(CUndoManager, AGroupIsUndoneInReverseAndRedoneInOrder)
{
    Owner o(controllers(10));
    const auto before = eventStates(o.sequence);
    o.modify(2, 100, 1);
    o.modify(2, 101, 0); // the same event twice: the order decides what comes back
    o.modify(5, 102, 0);
    const auto edited = eventStates(o.sequence);
    EXPECT_EQ(o.undo().UndoCount(), 3u);
    EXPECT_EQ(o.undo().Undo(), 1);
    EXPECT_EQ(eventStates(o.sequence), before);
    EXPECT_EQ(o.undo().UndoCount(), 0u);
    EXPECT_EQ(o.undo().RedoCount(), 3u);
    EXPECT_EQ(o.views.frozen, 0);
    EXPECT_EQ(o.undo().Redo(), 1);
    EXPECT_EQ(eventStates(o.sequence), edited);
    // A new record empties the redo stack.
    EXPECT_EQ(o.undo().Undo(), 1);
    o.modify(7, 1, 1);
    EXPECT_EQ(o.undo().RedoCount(), 0u);
}

TEST(CUndoManager, AMovedModifyGoesBackToItsOldPlace)
{
    Owner o(controllers(12));
    const auto before = eventStates(o.sequence);
    // The event at 5 moved to 9 (its time made 9)
    CMidiEvent& e = *o.sequence.GetEvent(5);
    o.undo().RecordAction(UndoTargetEvent, e, UndoModify, 1, 5, 9);
    e.time = 9;
    auto events = o.sequence.ReleaseEvents();
    std::rotate(events.begin() + 5, events.begin() + 6, events.begin() + 10);
    o.sequence.AdoptEvents(std::move(events));
    o.sequence.Renumber(0);
    const auto moved = eventStates(o.sequence);
    ASSERT_EQ(o.undo().Undo(), 1);
    EXPECT_EQ(eventStates(o.sequence), before);
    ASSERT_EQ(o.undo().Redo(), 1);
    EXPECT_EQ(eventStates(o.sequence), moved);
}

TEST(CUndoManager, RecordsThatCannotBeAppliedClearEverything)
{
    struct Case {
        const char* what;
        int32_t operation, index, second;
    };
    for (const Case& c : {Case{"modify without a second index", UndoModify, 2, -1},
                          Case{"insert past the array", UndoInsert, 50, -1},
                          Case{"delete past the array", UndoDelete, 51, -1},
                          Case{"modify past the array", UndoModify, 40, 40}}) {
        SCOPED_TRACE(c.what);
        Owner o(controllers(10));
        o.modify(1, 5, 1);                                         // a good record first ...
        o.undo().RecordAction(UndoTargetEvent, *o.sequence.GetEvent(3), c.operation, 0, c.index, c.second);
        EXPECT_EQ(o.undo().Undo(), 0);
        // ... and nothing of the history is kept, the views are released.
        EXPECT_EQ(o.undo().UndoCount(), 0u);
        EXPECT_EQ(o.undo().RedoCount(), 0u);
        EXPECT_FALSE(o.undo().IsEnabled());
        EXPECT_EQ(o.views.frozen, 0);
        EXPECT_EQ(o.undo().Redo(), 0);
    }
}

TEST(CUndoManager, ADisabledManagerStartsAgainWithANewGroup)
{
    Owner o(controllers(4));
    EXPECT_EQ(o.undo().Undo(), 0); // nothing to undo: disabled
    EXPECT_FALSE(o.undo().IsEnabled());
    EXPECT_EQ(o.undo().RecordAction(UndoTargetEvent, *o.sequence.GetEvent(0), UndoModify, 0, 0, 0), -1);
    EXPECT_EQ(o.undo().UndoCount(), 0u);
    EXPECT_EQ(o.undo().RecordAction(UndoTargetEvent, *o.sequence.GetEvent(0), UndoModify, 1, 0, 0), 0);
    EXPECT_TRUE(o.undo().IsEnabled());
    // A pad or style owner has no track records.
    EXPECT_EQ(o.undo().RecordTrackAction(CTrackInfo(), {}, UndoModify, 1, 0, 0), -1);
    EXPECT_FALSE(o.undo().IsEnabled());
}

TEST(CUndoManager, NoMemoryForASnapshotDropsTheHistory)
{
    Owner o(controllers(4));
    o.modify(0, 9, 1);
    {
        ScopedAllocationFailure fail(1);
        EXPECT_EQ(o.undo().RecordAction(UndoTargetEvent, *o.sequence.GetEvent(1), UndoModify, 0, 1, 1), -1);
    }
    EXPECT_FALSE(o.undo().IsEnabled());
    EXPECT_EQ(o.undo().UndoCount(), 0u);
}

TEST(CUndoManager, UndoAndRedoAreRefusedWhilePlaying)
{
    Owner o(controllers(4));
    o.modify(0, 9, 1);
    o.playing = 1;
    EXPECT_EQ(o.undo().UndoGroup(), CUndoManager::Outcome::RefusedWhilePlaying);
    EXPECT_EQ(o.sequence.GetEvent(0)->data[1], 9);
    o.playing = 0;
    EXPECT_EQ(o.undo().UndoGroup(), CUndoManager::Outcome::Applied);
    o.playing = 1;
    EXPECT_EQ(o.undo().RedoGroup(), CUndoManager::Outcome::RefusedWhilePlaying);
    EXPECT_EQ(o.undo().RedoCount(), 1u);
}

// Random groups of inserts, deletes and moves, applied in one pass and one by
// one, give the same events and the same tables.
TEST(CUndoManager, TheBatchPassEqualsApplyingOneByOne)
{
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        Owner batched(controllers(300)), single(controllers(300));
        batched.undo().SetBatchThreshold(1);
        single.undo().SetBatchThreshold(0);
        // The same random edits on both, recorded as the lists record them
        const uint32_t seed = random();
        for (Owner* o : {&batched, &single}) {
            std::mt19937 r(seed);
            uint32_t groupStart = 1;
            for (int k = 0; k < 150; ++k) {
                CMidiParserEx& seq = o->sequence;
                const size_t n = seq.GetEventCount();
                const size_t i = r() % n;
                switch (r() % 3) {
                case 0: { // delete
                    o->undo().RecordAction(UndoTargetEvent, *seq.GetEvent(i), UndoDelete, groupStart, int32_t(i), -1);
                    seq.RemoveEvent(i);
                    break;
                }
                case 1: { // insert a copy after i
                    auto copy = std::make_unique<CMidiEvent>(*seq.GetEvent(i));
                    copy->data[1] = uint8_t(r() % 128);
                    seq.InsertEvent(i + 1, std::move(copy));
                    o->undo().RecordAction(UndoTargetEvent, *seq.GetEvent(i + 1), UndoInsert, groupStart,
                                           int32_t(i + 1), -1);
                    break;
                }
                default: { // a move to another place
                    const size_t to = r() % n;
                    o->undo().RecordAction(UndoTargetEvent, *seq.GetEvent(i), UndoModify, groupStart, int32_t(i),
                                           int32_t(to));
                    auto events = seq.ReleaseEvents();
                    auto moved = std::move(events[i]);
                    moved->data[1] = uint8_t(r() % 128);
                    events.erase(events.begin() + std::ptrdiff_t(i));
                    events.insert(events.begin() + std::ptrdiff_t(to), std::move(moved));
                    seq.AdoptEvents(std::move(events));
                    break;
                }
                }
                groupStart = 0;
                seq.Renumber(0);
            }
        }
        ASSERT_EQ(eventStates(batched.sequence), eventStates(single.sequence));
        ASSERT_EQ(batched.undo().Undo(), 1);
        ASSERT_EQ(single.undo().Undo(), 1);
        EXPECT_EQ(eventStates(batched.sequence), eventStates(single.sequence));
        EXPECT_EQ(batched.sequence.GetTrackEventCount(1), single.sequence.GetTrackEventCount(1));
        EXPECT_EQ(batched.sequence.GetTrackTotalEvents(1), single.sequence.GetTrackTotalEvents(1));
        EXPECT_EQ(batched.sequence.GetTimeSigCount(), single.sequence.GetTimeSigCount());
        ASSERT_EQ(batched.undo().Redo(), 1);
        ASSERT_EQ(single.undo().Redo(), 1);
        EXPECT_EQ(eventStates(batched.sequence), eventStates(single.sequence));
    }
}
