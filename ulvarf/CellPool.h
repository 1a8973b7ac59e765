#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <vector>

namespace zib::ulvarf {

// Whether a pool may take more memory once its cells are all in use.
enum class PoolGrowth {
    Fixed, // the first block of cells is all there is; Take then fails
    Grow,  // another block of the same number of cells is added
};

// Cells of one type handed out from blocks the pool owns. Cells keep their
// address until the pool is released; a cell given back is reset to T{}.
// Used by the library's pools; not a global object itself.
template <class T>
class CellPool {
public:
    CellPool(size_t capacity, PoolGrowth growth)
        : blockCells_(capacity ? capacity : 1), fixedCapacity_(capacity), growth_(growth) {}
    CellPool(const CellPool&) = delete;
    CellPool& operator=(const CellPool&) = delete;

    // Cells
    // A fresh cell, or null when a fixed pool is exhausted or memory runs out.
    T* Take()
    {
        if (free_.empty() && !addBlock()) return nullptr;
        T* cell = free_.back();
        free_.pop_back();
        ++inUse_;
        return cell;
    }
    void Give(T* cell)
    {
        if (!cell || inUse_ == 0) return;
        *cell = T{};
        free_.push_back(cell); // never reallocates: room for every cell is reserved
        --inUse_;
    }

    // State
    size_t inUse() const { return inUse_; }
    size_t allocated() const { return blocks_.size() * blockCells_; }
    PoolGrowth growth() const { return growth_; }

    // Frees every block; cells still handed out become invalid.
    void Release()
    {
        free_.clear();
        free_.shrink_to_fit();
        blocks_.clear();
        inUse_ = 0;
    }

private:
    bool addBlock()
    {
        if (growth_ == PoolGrowth::Fixed && (!blocks_.empty() || fixedCapacity_ == 0)) return false;
        try {
            auto block = std::make_unique<T[]>(blockCells_);
            free_.reserve(allocated() + blockCells_);
            for (size_t i = blockCells_; i-- > 0;) free_.push_back(&block[i]);
            blocks_.push_back(std::move(block));
        } catch (const std::bad_alloc&) {
            return false;
        }
        return true;
    }

    size_t blockCells_;
    size_t fixedCapacity_;
    PoolGrowth growth_;
    std::vector<std::unique_ptr<T[]>> blocks_;
    std::vector<T*> free_;
    size_t inUse_ = 0;
};

} // namespace zib::ulvarf
