#include "ulvarf/GlobalObjects.h"

#include "ulvarf/CEventsHeap.h"
#include "ulvarf/CEventsPool.h"
#include "ulvarf/CGlobalObjectCollector.h"
#include "ulvarf/CNoteInfoPool.h"
#include "ulvarf/CRTClassList.h"
#include "ulvarf/CRTClassListDestroyer.h"

namespace zib::ulvarf {

namespace {

// Every library-wide object is defined here, in this order: objects in one
// file are constructed in order of definition and destroyed in reverse, so
// the attach below runs after all of them exist and the detach before any of
// them goes.
CEventsHeap eventsHeap;
CEventsPool eventsPool(eventsHeap);
CNoteInfoPool noteInfoPool;
CRTClassList classList;
CRTClassListDestroyer classListDestroyer(classList);

// Process attach when the library is loaded, process detach when it goes.
struct LibraryLifetime {
    LibraryLifetime() { CGlobalObjectCollector::Instance().ProcessAttach(); }
    ~LibraryLifetime() { CGlobalObjectCollector::Instance().ProcessDetach(); }
    LibraryLifetime(const LibraryLifetime&) = delete;
    LibraryLifetime& operator=(const LibraryLifetime&) = delete;
};
LibraryLifetime libraryLifetime;

} // namespace

CEventsHeap& GlobalEventsHeap() { return eventsHeap; }
CEventsPool& GlobalEventsPool() { return eventsPool; }
CNoteInfoPool& GlobalNoteInfoPool() { return noteInfoPool; }
CRTClassList& GlobalClassList() { return classList; }

} // namespace zib::ulvarf
