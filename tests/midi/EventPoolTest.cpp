#include "midi/CMidiEvent.h"
#include "midi/EventPool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <thread>
#include <vector>

using namespace zib;

namespace {

// Events that carry their number in their fields and bytes, to tell whether
// any two of them ever share memory
std::unique_ptr<CMidiEvent> numbered(uint32_t n)
{
    auto e = std::make_unique<CMidiEvent>();
    e->time = n;
    e->pairId = int32_t(n);
    const uint8_t bytes[] = {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16)};
    e->SetData(bytes, sizeof bytes, n % 3 ? 6 : 40); // some on the heap
    return e;
}

bool intact(const CMidiEvent& e)
{
    const uint32_t n = e.time;
    return e.pairId == int32_t(n) && e.length == 3 && e.data[0] == uint8_t(n) && e.data[1] == uint8_t(n >> 8) &&
           e.data[2] == uint8_t(n >> 16);
}

} // namespace

// Several slabs' worth of events made, freed in a shuffled order in part,
// made again (reusing freed blocks and slabs), with every event intact.
TEST(EventPool, EventsNeverShareMemoryThroughFreesAndReuse)
{
    constexpr uint32_t kCount = 60000; // about three slabs of events
    std::vector<std::unique_ptr<CMidiEvent>> events;
    for (uint32_t n = 0; n < kCount; ++n)
        events.push_back(numbered(n));
    std::mt19937 rng(5);
    std::shuffle(events.begin(), events.end(), rng);
    events.resize(kCount / 3); // two thirds freed, scattered over the slabs
    for (uint32_t n = kCount; n < 2 * kCount; ++n)
        events.push_back(numbered(n));
    for (const auto& e : events)
        ASSERT_TRUE(intact(*e)) << e->time;
    // Deleted through the root class, the block goes back by the event's size
    std::unique_ptr<CMidiNode> root = numbered(7);
    root.reset();
    events.clear();
    EXPECT_TRUE(intact(*numbered(9)));
}

TEST(EventPool, ThreadsMakeAndFreeEventsSideBySide)
{
    auto work = [](uint32_t base, bool* ok) {
        std::vector<std::unique_ptr<CMidiEvent>> mine;
        for (uint32_t round = 0; round < 20; ++round) {
            for (uint32_t n = 0; n < 2000; ++n)
                mine.push_back(numbered(base + n));
            for (const auto& e : mine)
                if (!intact(*e)) *ok = false;
            mine.clear();
        }
    };
    bool ok[4] = {true, true, true, true};
    std::vector<std::thread> threads;
    for (uint32_t t = 0; t < 4; ++t)
        threads.emplace_back(work, t * 100000, &ok[t]);
    for (auto& t : threads)
        t.join();
    for (bool b : ok)
        EXPECT_TRUE(b);
}

TEST(EventPool, BlocksOfOtherSizesComeFromTheHeap)
{
    void* big = EventPool::Allocate(EventPool::kMaxBlock + 1);
    void* small = EventPool::Allocate(24);
    ASSERT_NE(big, nullptr);
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(small) % 16, 0u);
    EventPool::Free(big, EventPool::kMaxBlock + 1);
    EventPool::Free(small, 24);
    EventPool::Free(nullptr, 24);
}
