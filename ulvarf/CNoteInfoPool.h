#pragma once

#include "ulvarf/CGlobalObjectBase.h"
#include "ulvarf/CellPool.h"

#include <cstddef>
#include <cstdint>

namespace zib::ulvarf {

// One open note of the encoder's note or sound tracer: which key on which
// track, where its duration bytes lie in the stream, and when it began.
struct CNoteInfo {
    uint8_t key = 0;
    uint8_t track = 0;
    size_t streamPos = 0;
    uint32_t startTick = 0;
    CNoteInfo* next = nullptr;
};

// Cells of the note tracers. A production pool grows; a fixed pool traces
// "CNoteInfoPool::GetNewNote() - Pool of notes is exhausted" and gives no cell,
// and the encoder must then fail rather than leave a duration at 0.
class CNoteInfoPool : public CGlobalObjectBase {
public:
    static constexpr size_t kDefaultCapacity = 256;

    explicit CNoteInfoPool(size_t capacity = kDefaultCapacity, PoolGrowth growth = PoolGrowth::Grow);

    // Cells
    CNoteInfo* GetNewNote();
    void FreeNote(CNoteInfo* note);
    size_t inUse() const { return cells_.inUse(); }

    int OnDetached() override;

private:
    CellPool<CNoteInfo> cells_;
};

} // namespace zib::ulvarf
