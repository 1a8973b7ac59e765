#include "ulvarf/CNoteInfoPool.h"

#include "ulvarf/TraceMessage.h"

namespace zib::ulvarf {

CNoteInfoPool::CNoteInfoPool(size_t capacity, PoolGrowth growth) : cells_(capacity, growth) {}

CNoteInfo* CNoteInfoPool::GetNewNote()
{
    CNoteInfo* note = cells_.Take();
    if (!note) TraceMessage("CNoteInfoPool::GetNewNote() - Pool of notes is exhausted");
    return note;
}

void CNoteInfoPool::FreeNote(CNoteInfo* note)
{
    cells_.Give(note);
}

int CNoteInfoPool::OnDetached()
{
    cells_.Release();
    return 0;
}

} // namespace zib::ulvarf
