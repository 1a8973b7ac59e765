#pragma once

#include "ulvarf/CGlobalObjectBase.h"
#include "ulvarf/CellPool.h"

namespace zib::ulvarf {

// A library-wide pool of cells of type T (for example the event-list heads
// that the encoders use to hold deferred events). Production pools grow; a
// fixed pool returns null once its cells are all in use. The memory is freed
// at process detach.
template <class T>
class CLinkedPool : public CGlobalObjectBase {
public:
    CLinkedPool(size_t capacity, PoolGrowth growth) : cells_(capacity, growth) {}

    // Cells
    T* Take() { return cells_.Take(); }
    void Give(T* cell) { cells_.Give(cell); }
    size_t inUse() const { return cells_.inUse(); }

    int OnDetached() override
    {
        cells_.Release();
        return 0;
    }

private:
    CellPool<T> cells_;
};

} // namespace zib::ulvarf
