#pragma once

namespace zib::ulvarf {

class CEventsHeap;
class CEventsPool;
class CNoteInfoPool;
class CRTClassList;

// The library-wide objects. They are made when the library is loaded and
// release their memory at process detach (CGlobalObjectCollector). The pools
// grow on demand; code that wants a bounded pool makes its own.
CEventsHeap& GlobalEventsHeap();
CEventsPool& GlobalEventsPool();
CNoteInfoPool& GlobalNoteInfoPool();
CRTClassList& GlobalClassList();

} // namespace zib::ulvarf
