#include "ulvarf/CEventsPool.h"

#include "ulvarf/CEventsHeap.h"
#include "ulvarf/TraceMessage.h"

namespace zib::ulvarf {

CEventsPool::CEventsPool(CEventsHeap& heap, size_t capacity, PoolGrowth growth)
    : heap_(heap), cells_(capacity, growth)
{
}

EventCell* CEventsPool::GetNewEvent()
{
    EventCell* cell = cells_.Take();
    if (!cell) TraceMessage("CEventPool::GetNewEvent() - Pool of events is exhausted");
    return cell;
}

EventCell* CEventsPool::CopyEvent(const EventCell& event)
{
    EventCell* cell = GetNewEvent();
    if (!cell) return nullptr;
    cell->word1 = event.word1;
    cell->word2 = event.word2;
    cell->heapData = event.heapData;
    if (event.hasHeapData() && !heap_.AddUser(event.heapData)) {
        // Not a live block: the copy carries no heap data rather than a dangling one.
        cell->word1 &= ~EventCell::kHeapData;
        cell->heapData = nullptr;
    }
    return cell;
}

void CEventsPool::FreeEvents(EventCell* list)
{
    // A list can hold at most every cell in use; the bound stops a damaged
    // (cyclic) list from looping for ever.
    size_t left = cells_.inUse();
    while (list && left-- > 0) {
        EventCell* next = list->next;
        if (list->hasHeapData()) heap_.Free(list->heapData);
        cells_.Give(list);
        list = next;
    }
}

int CEventsPool::OnDetached()
{
    cells_.Release();
    return 0;
}

} // namespace zib::ulvarf
