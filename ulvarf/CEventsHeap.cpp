#include "ulvarf/CEventsHeap.h"

#include "ulvarf/TraceMessage.h"

#include <new>

namespace zib::ulvarf {

CEventsHeap::CEventsHeap(size_t smallBlocks, size_t mediumBlocks)
{
    small_.dataSize = kSmallData;
    small_.count = smallBlocks;
    medium_.dataSize = kMediumData;
    medium_.count = mediumBlocks;
}

CEventsHeap::~CEventsHeap() = default;

void CEventsHeap::ClassStore::prepare()
{
    if (ready()) return;
    data = std::make_unique<uint8_t[]>(count * dataSize);
    users.assign(count, 0);
    lengths.assign(count, 0);
    freeList.clear();
    freeList.reserve(count);
    for (size_t i = count; i-- > 0;) freeList.push_back(uint32_t(i));
}

void CEventsHeap::ClassStore::release()
{
    data.reset();
    users = {};
    lengths = {};
    freeList = {};
}

long CEventsHeap::ClassStore::indexOf(const uint8_t* p) const
{
    if (!data || !p) return -1;
    auto base = reinterpret_cast<uintptr_t>(data.get());
    auto at = reinterpret_cast<uintptr_t>(p);
    if (at < base || at >= base + count * dataSize) return -1;
    uintptr_t offset = at - base;
    if (offset % dataSize != 0) return -1;
    return long(offset / dataSize);
}

uint8_t* CEventsHeap::Alloc(uint32_t length)
{
    try {
        for (ClassStore* store : {&small_, &medium_}) {
            if (length > store->dataSize) continue;
            store->prepare();
            if (store->freeList.empty()) break; // unserved: allocated singly below
            uint32_t i = store->freeList.back();
            store->freeList.pop_back();
            store->users[i] = 1;
            store->lengths[i] = length;
            return store->data.get() + size_t(i) * store->dataSize;
        }
        TraceMessage("CEventsHeap::Alloc - 'new' used for %d bytes buffer", int(int64_t(length) + kHeadSize));
        SingleBlock block;
        block.data = std::make_unique<uint8_t[]>(length ? length : 1);
        block.users = 1;
        block.length = length;
        uint8_t* data = block.data.get();
        singles_.emplace(data, std::move(block));
        return data;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

bool CEventsHeap::AddUser(const uint8_t* data)
{
    for (ClassStore* store : {&small_, &medium_}) {
        long i = store->indexOf(data);
        if (i >= 0) {
            if (store->users[size_t(i)] == 0) return false;
            ++store->users[size_t(i)];
            return true;
        }
    }
    auto it = singles_.find(data);
    if (it == singles_.end()) return false;
    ++it->second.users;
    return true;
}

void CEventsHeap::Free(const uint8_t* data)
{
    if (!data) return;
    for (ClassStore* store : {&small_, &medium_}) {
        long i = store->indexOf(data);
        if (i < 0) continue;
        uint32_t& users = store->users[size_t(i)];
        if (users == 0) break; // already free
        if (--users == 0) store->freeList.push_back(uint32_t(i));
        return;
    }
    auto it = singles_.find(data);
    if (it != singles_.end()) {
        if (--it->second.users == 0) singles_.erase(it);
        return;
    }
    TraceMessage("CEventsHeap::Free - Block ID unknown");
}

std::optional<CEventsHeap::BlockClass> CEventsHeap::ClassOf(const uint8_t* data) const
{
    long i = small_.indexOf(data);
    if (i >= 0 && small_.users[size_t(i)]) return BlockClass::Small;
    i = medium_.indexOf(data);
    if (i >= 0 && medium_.users[size_t(i)]) return BlockClass::Medium;
    if (singles_.count(data)) return BlockClass::Single;
    return std::nullopt;
}

uint32_t CEventsHeap::Users(const uint8_t* data) const
{
    for (const ClassStore* store : {&small_, &medium_}) {
        long i = store->indexOf(data);
        if (i >= 0) return store->users[size_t(i)];
    }
    auto it = singles_.find(data);
    return it == singles_.end() ? 0 : it->second.users;
}

uint32_t CEventsHeap::Length(const uint8_t* data) const
{
    for (const ClassStore* store : {&small_, &medium_}) {
        long i = store->indexOf(data);
        if (i >= 0) return store->users[size_t(i)] ? store->lengths[size_t(i)] : 0;
    }
    auto it = singles_.find(data);
    return it == singles_.end() ? 0 : it->second.length;
}

size_t CEventsHeap::FreeBlocks(BlockClass blockClass) const
{
    const ClassStore* store = blockClass == BlockClass::Small ? &small_
                            : blockClass == BlockClass::Medium ? &medium_ : nullptr;
    if (!store) return 0;
    return store->data ? store->freeList.size() : store->count;
}

int CEventsHeap::OnDetached()
{
    small_.release();
    medium_.release();
    singles_.clear();
    return 0;
}

} // namespace zib::ulvarf
