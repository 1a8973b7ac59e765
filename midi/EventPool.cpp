#include "midi/EventPool.h"

#include <atomic>
#include <cstdint>
#include <new>
#include <sys/mman.h>
#include <thread>

#if defined(__SANITIZE_ADDRESS__)
#define ZIB_EVENT_POOL_OFF 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZIB_EVENT_POOL_OFF 1
#endif
#endif

namespace zib {

#ifndef ZIB_EVENT_POOL_OFF
namespace {

constexpr size_t kSlabBytes = 2 * 1024 * 1024; // one huge page where the system gives them
constexpr size_t kAlign = 16;
constexpr size_t kClasses = EventPool::kMaxBlock / kAlign; // one size class per 16 bytes

// Each slab starts with this header; its blocks follow. Slabs with free
// blocks (other than the one being filled) are linked per size class.
struct Slab {
    Slab* prev = nullptr;
    Slab* next = nullptr;
    void* freeList = nullptr; // freed blocks, linked through their first bytes
    uint32_t live = 0;        // blocks handed out
    uint32_t bumped = 0;      // blocks carved so far
    uint32_t capacity = 0;
    uint32_t blockSize = 0;
    bool listed = false;
};
constexpr size_t kHeader = (sizeof(Slab) + kAlign - 1) / kAlign * kAlign;

struct SizeClass {
    Slab* filling = nullptr; // new blocks come from here first
    Slab* withRoom = nullptr;
};

class SpinLock {
public:
    void lock()
    {
        while (m_flag.test_and_set(std::memory_order_acquire))
            std::this_thread::yield();
    }
    void unlock() { m_flag.clear(std::memory_order_release); }

private:
    std::atomic_flag m_flag = ATOMIC_FLAG_INIT;
};

constinit SpinLock g_lock;
constinit SizeClass g_classes[kClasses];

// Slabs whose blocks all came back, kept for the next blocks of any size
// and linked through their first bytes: a large edit and its Undo free and
// make tens of megabytes of events and undo records at once, and a kept slab
// spares the system's zeroing of fresh pages. At most kMinSpare slabs or half
// as many as are in use are kept; the others go back to the system.
constexpr size_t kMinSpare = 8;
constinit void* g_spare = nullptr;
constinit size_t g_spareCount = 0;
constinit size_t g_slabsInUse = 0;

void keepOrUnmap(void* memory)
{
    *static_cast<void**>(memory) = g_spare;
    g_spare = memory;
    ++g_spareCount;
    while (g_spareCount > kMinSpare && g_spareCount > g_slabsInUse / 2) {
        void* last = g_spare;
        g_spare = *static_cast<void**>(last);
        --g_spareCount;
        ::munmap(last, kSlabBytes);
    }
}

void* takeSpare()
{
    void* memory = g_spare;
    g_spare = *static_cast<void**>(memory);
    --g_spareCount;
    return memory;
}

struct Guard {
    Guard() { g_lock.lock(); }
    ~Guard() { g_lock.unlock(); }
};

void unlink(SizeClass& c, Slab* s)
{
    if (s->prev) s->prev->next = s->next;
    else c.withRoom = s->next;
    if (s->next) s->next->prev = s->prev;
    s->prev = s->next = nullptr;
    s->listed = false;
}

void link(SizeClass& c, Slab* s)
{
    s->prev = nullptr;
    s->next = c.withRoom;
    if (c.withRoom) c.withRoom->prev = s;
    c.withRoom = s;
    s->listed = true;
}

bool hasRoom(const Slab* s)
{
    return s->freeList != nullptr || s->bumped < s->capacity;
}

// A slab's memory aligned to its size (a block finds its slab by its
// address), mapped from the system as one huge page where it can be and
// filled at once: one call instead of a page fault per 4 KiB as the events
// are made.
void* mapSlab()
{
    void* mapped = ::mmap(nullptr, 2 * kSlabBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) throw std::bad_alloc();
    const uintptr_t base = reinterpret_cast<uintptr_t>(mapped);
    const uintptr_t aligned = (base + kSlabBytes - 1) & ~uintptr_t(kSlabBytes - 1);
    if (aligned > base) ::munmap(mapped, aligned - base);
    if (const uintptr_t tail = base + 2 * kSlabBytes - (aligned + kSlabBytes))
        ::munmap(reinterpret_cast<void*>(aligned + kSlabBytes), tail);
    void* memory = reinterpret_cast<void*>(aligned);
#ifdef MADV_HUGEPAGE
    ::madvise(memory, kSlabBytes, MADV_HUGEPAGE);
#endif
#ifdef MADV_POPULATE_WRITE
    ::madvise(memory, kSlabBytes, MADV_POPULATE_WRITE);
#endif
    return memory;
}

// A kept slab where there is one, else a new one
Slab* newSlab(size_t blockSize)
{
    void* memory = g_spare ? takeSpare() : mapSlab();
    ++g_slabsInUse;
    Slab* s = new (memory) Slab;
    s->blockSize = uint32_t(blockSize);
    s->capacity = uint32_t((kSlabBytes - kHeader) / blockSize);
    return s;
}

Slab* slabOf(void* block)
{
    return reinterpret_cast<Slab*>(reinterpret_cast<uintptr_t>(block) & ~uintptr_t(kSlabBytes - 1));
}

} // namespace
#endif

void* EventPool::Allocate(size_t size)
{
#ifdef ZIB_EVENT_POOL_OFF
    return ::operator new(size);
#else
    if (size == 0 || size > kMaxBlock) return ::operator new(size);
    const size_t blockSize = (size + kAlign - 1) / kAlign * kAlign;
    SizeClass& c = g_classes[blockSize / kAlign - 1];
    Guard guard;
    Slab* s = c.filling;
    if (s == nullptr || !hasRoom(s)) {
        if (c.withRoom) {
            s = c.withRoom;
            unlink(c, s);
        } else {
            s = newSlab(blockSize);
        }
        c.filling = s;
    }
    ++s->live;
    if (void* block = s->freeList) {
        s->freeList = *static_cast<void**>(block);
        return block;
    }
    return reinterpret_cast<char*>(s) + kHeader + size_t(s->bumped++) * blockSize;
#endif
}

void EventPool::Free(void* block, size_t size) noexcept
{
#ifdef ZIB_EVENT_POOL_OFF
    ::operator delete(block);
    (void)size;
#else
    if (block == nullptr) return;
    if (size == 0 || size > kMaxBlock) {
        ::operator delete(block);
        return;
    }
    Slab* s = slabOf(block);
    SizeClass& c = g_classes[s->blockSize / kAlign - 1];
    Guard guard;
    *static_cast<void**>(block) = s->freeList;
    s->freeList = block;
    --s->live;
    if (s == c.filling) return;
    if (s->live == 0) {
        if (s->listed) unlink(c, s);
        s->~Slab();
        --g_slabsInUse;
        keepOrUnmap(s);
        return;
    }
    if (!s->listed) link(c, s);
#endif
}

} // namespace zib
