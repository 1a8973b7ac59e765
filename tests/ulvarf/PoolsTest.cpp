// Event pool, event heap, note pool and the growable cell pools.

#include "ulvarf/CEventsHeap.h"
#include "ulvarf/CEventsPool.h"
#include "ulvarf/CLinkedPool.h"
#include "ulvarf/CNoteInfoPool.h"
#include "ulvarf/GlobalObjects.h"

#include "tests/ulvarf/TraceCapture.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace zib::ulvarf {
namespace {

using BlockClass = CEventsHeap::BlockClass;

TEST(CEventsPool, FixedPoolGivesNoCellPastItsCapacityAndTracesIt)
{
    CEventsHeap heap;
    CEventsPool pool(heap, 1024, PoolGrowth::Fixed);
    std::vector<EventCell*> cells;
    for (int i = 0; i < 1024; ++i) {
        EventCell* cell = pool.GetNewEvent();
        ASSERT_NE(cell, nullptr) << i;
        EXPECT_EQ(cell->kind(), EventCell::kFreeKind);
        cells.push_back(cell);
    }
    test::TraceCapture capture;
    EXPECT_EQ(pool.GetNewEvent(), nullptr);
    EXPECT_EQ(capture.texts(), std::vector<std::string>{"CEventPool::GetNewEvent() - Pool of events is exhausted"});

    // A cell given back serves the next request.
    pool.FreeEvents(cells.back());
    EXPECT_NE(pool.GetNewEvent(), nullptr);
}

TEST(CEventsPool, ProductionPoolGrowsWithoutLosingACell)
{
    CEventsHeap heap;
    CEventsPool pool(heap, 16, PoolGrowth::Grow);
    test::TraceCapture capture;
    std::set<EventCell*> cells;
    for (int i = 0; i < 5000; ++i) {
        EventCell* cell = pool.GetNewEvent();
        ASSERT_NE(cell, nullptr);
        cell->word2 = uint32_t(i);
        cells.insert(cell);
    }
    EXPECT_EQ(cells.size(), 5000u);
    EXPECT_EQ(pool.inUse(), 5000u);
    EXPECT_TRUE(capture.texts().empty());
    // Cells keep their address and content while the pool grows.
    std::set<uint32_t> values;
    for (EventCell* cell : cells) values.insert(cell->word2);
    EXPECT_EQ(values.size(), 5000u);
}

TEST(CEventsPool, FreeingAListReleasesTheHeapDataOfItsCells)
{
    CEventsHeap heap;
    CEventsPool pool(heap, 8, PoolGrowth::Fixed);
    EventCell* a = pool.GetNewEvent();
    EventCell* b = pool.GetNewEvent();
    EventCell* c = pool.GetNewEvent();
    a->next = b;
    b->next = c;
    b->word1 = 9 | EventCell::kHeapData;
    b->heapData = heap.Alloc(40);
    c->word1 = 10 | EventCell::kHeapData;
    c->heapData = heap.Alloc(300);
    const uint8_t* single = c->heapData;
    ASSERT_EQ(heap.FreeBlocks(BlockClass::Medium), 7u);
    ASSERT_EQ(heap.ClassOf(single), BlockClass::Single);

    pool.FreeEvents(a);
    EXPECT_EQ(pool.inUse(), 0u);
    EXPECT_EQ(heap.FreeBlocks(BlockClass::Medium), 8u);
    EXPECT_EQ(heap.ClassOf(single), std::nullopt); // the single block is gone
    EXPECT_EQ(b->kind(), EventCell::kFreeKind);
}

TEST(CEventsPool, ACopiedCellSharesItsHeapBlock)
{
    CEventsHeap heap;
    CEventsPool pool(heap);
    EventCell* original = pool.GetNewEvent();
    original->word1 = 9 | EventCell::kHeapData;
    original->heapData = heap.Alloc(12);
    EventCell* copy = pool.CopyEvent(*original);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->heapData, original->heapData);
    EXPECT_EQ(heap.Users(original->heapData), 2u);

    pool.FreeEvents(original);
    EXPECT_EQ(heap.Users(copy->heapData), 1u);
    pool.FreeEvents(copy);
    EXPECT_EQ(heap.FreeBlocks(BlockClass::Small), 32u);
}

TEST(CEventsHeap, ServesEachLengthFromItsClass)
{
    struct Case {
        uint32_t length;
        BlockClass blockClass;
        const char* trace; // null: none
    };
    const Case cases[] = {
        {0, BlockClass::Small, nullptr},
        {16, BlockClass::Small, nullptr},
        {17, BlockClass::Medium, nullptr},
        {128, BlockClass::Medium, nullptr},
        {129, BlockClass::Single, "CEventsHeap::Alloc - 'new' used for 133 bytes buffer"},
        {70000, BlockClass::Single, "CEventsHeap::Alloc - 'new' used for 70004 bytes buffer"},
    };
    for (const Case& c : cases) {
        CEventsHeap heap;
        test::TraceCapture capture;
        uint8_t* data = heap.Alloc(c.length);
        ASSERT_NE(data, nullptr) << c.length;
        EXPECT_EQ(heap.ClassOf(data), c.blockClass) << c.length;
        EXPECT_EQ(heap.Length(data), c.length);
        if (c.length) {
            data[0] = 1;
            data[c.length - 1] = 2; // the whole length is usable
        }
        EXPECT_EQ(capture.texts(), c.trace ? std::vector<std::string>{c.trace} : std::vector<std::string>{})
            << c.length;
        heap.Free(data);
    }
}

TEST(CEventsHeap, AnExhaustedClassFallsBackToASingleAllocation)
{
    CEventsHeap heap(2, 1);
    heap.Alloc(10);
    heap.Alloc(10);
    test::TraceCapture capture;
    uint8_t* third = heap.Alloc(10);
    EXPECT_EQ(heap.ClassOf(third), BlockClass::Single);
    EXPECT_TRUE(capture.contains("CEventsHeap::Alloc - 'new' used for 14 bytes buffer"));
}

TEST(CEventsHeap, ASharedBlockReturnsToItsClassWithItsLastUser)
{
    CEventsHeap heap;
    uint8_t* data = heap.Alloc(16);
    ASSERT_TRUE(heap.AddUser(data));
    heap.Free(data);
    EXPECT_EQ(heap.Users(data), 1u);
    EXPECT_EQ(heap.FreeBlocks(BlockClass::Small), 31u);
    heap.Free(data);
    EXPECT_EQ(heap.FreeBlocks(BlockClass::Small), 32u);
}

TEST(CEventsHeap, UserCountsDoNotWrap)
{
    // A meta event copied to eight tracks, the control stream and 32 repeats
    // has far more than 63 users.
    CEventsHeap heap;
    for (uint32_t length : {8u, 100u, 1000u}) {
        uint8_t* data = heap.Alloc(length);
        for (int i = 0; i < 299; ++i) ASSERT_TRUE(heap.AddUser(data));
        EXPECT_EQ(heap.Users(data), 300u);
        for (int i = 0; i < 299; ++i) heap.Free(data);
        EXPECT_EQ(heap.Users(data), 1u) << length;
        EXPECT_TRUE(heap.ClassOf(data).has_value());
        heap.Free(data);
        EXPECT_FALSE(heap.ClassOf(data).has_value());
    }
}

TEST(CEventsHeap, FreeingAnythingButALiveBlockIsTracedAndIgnored)
{
    CEventsHeap heap;
    uint8_t* data = heap.Alloc(16);
    heap.Free(data);
    uint8_t foreign[16] = {};
    test::TraceCapture capture;
    heap.Free(data);        // already free
    heap.Free(foreign);     // not ours
    heap.Free(data + 1);    // inside a block
    heap.Free(nullptr);     // nothing
    EXPECT_EQ(capture.texts(), std::vector<std::string>(3, "CEventsHeap::Free - Block ID unknown"));
    EXPECT_FALSE(heap.AddUser(foreign));
    EXPECT_EQ(heap.FreeBlocks(BlockClass::Small), 32u);
}

TEST(CNoteInfoPool, FixedPoolTracesExhaustionAndProductionPoolGrows)
{
    CNoteInfoPool fixed(2, PoolGrowth::Fixed);
    ASSERT_NE(fixed.GetNewNote(), nullptr);
    CNoteInfo* second = fixed.GetNewNote();
    ASSERT_NE(second, nullptr);
    test::TraceCapture capture;
    EXPECT_EQ(fixed.GetNewNote(), nullptr);
    EXPECT_EQ(capture.texts(), std::vector<std::string>{"CNoteInfoPool::GetNewNote() - Pool of notes is exhausted"});
    fixed.FreeNote(second);
    EXPECT_NE(fixed.GetNewNote(), nullptr);

    CNoteInfoPool growing(2);
    for (int i = 0; i < 1000; ++i) ASSERT_NE(growing.GetNewNote(), nullptr);
    EXPECT_EQ(growing.inUse(), 1000u);
}

TEST(CLinkedPool, GrowsOrStopsAsItsGrowthSays)
{
    struct Head {
        int value = 0;
    };
    CLinkedPool<Head> fixed(3, PoolGrowth::Fixed);
    CLinkedPool<Head> growing(3, PoolGrowth::Grow);
    for (int i = 0; i < 3; ++i) ASSERT_NE(fixed.Take(), nullptr);
    EXPECT_EQ(fixed.Take(), nullptr);
    for (int i = 0; i < 100; ++i) ASSERT_NE(growing.Take(), nullptr);

    // A cell given back comes back reset.
    Head* head = growing.Take();
    head->value = 5;
    growing.Give(head);
    EXPECT_EQ(growing.Take()->value, 0);

    // Process detach releases the memory; the pool serves again afterwards.
    growing.OnDetached();
    EXPECT_EQ(growing.inUse(), 0u);
    EXPECT_NE(growing.Take(), nullptr);
}

TEST(GlobalObjects, TheLibraryWidePoolsGrowPastTheirFirstBlock)
{
    CEventsPool& pool = GlobalEventsPool();
    std::vector<EventCell*> cells;
    for (size_t i = 0; i < 3 * CEventsPool::kDefaultCapacity; ++i) {
        EventCell* cell = pool.GetNewEvent();
        ASSERT_NE(cell, nullptr);
        cells.push_back(cell);
    }
    for (size_t i = 1; i < cells.size(); ++i) cells[i - 1]->next = cells[i];
    pool.FreeEvents(cells.front());
    EXPECT_EQ(pool.inUse(), 0u);
    EXPECT_EQ(&pool.heap(), &GlobalEventsHeap());
}

} // namespace
} // namespace zib::ulvarf
