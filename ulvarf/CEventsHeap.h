#pragma once

#include "ulvarf/CGlobalObjectBase.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace zib::ulvarf {

// Data blocks for event payloads that do not fit in an event cell (meta and
// system-exclusive data). Two classes of fixed blocks serve up to 16 and up
// to 128 bytes; a request they cannot serve is allocated singly and traced.
// A block can be shared by several cells: every copy adds a user, every free
// removes one, and the block goes back to its class when none is left.
// Counts and lengths are 32-bit, so neither wraps (a system-exclusive block
// from an imported file can pass 64 KB and be shared by many copies).
class CEventsHeap : public CGlobalObjectBase {
public:
    enum class BlockClass : uint8_t { Small = 0, Medium = 1, Single = 2 };
    static constexpr uint32_t kSmallData = 16;
    static constexpr uint32_t kMediumData = 128;
    static constexpr uint32_t kHeadSize = 4; // block head of the stored form, counted in the trace

    explicit CEventsHeap(size_t smallBlocks = 32, size_t mediumBlocks = 8);
    ~CEventsHeap() override;

    // Blocks
    // A block of at least `length` bytes with one user; null only when memory runs out.
    uint8_t* Alloc(uint32_t length);
    // One more user of a block; false for a pointer that is not a live block.
    bool AddUser(const uint8_t* data);
    // One user fewer; traces "Block ID unknown" for a pointer that is not a live block.
    void Free(const uint8_t* data);

    // Inspection
    std::optional<BlockClass> ClassOf(const uint8_t* data) const;
    uint32_t Users(const uint8_t* data) const;  // 0 for anything but a live block
    uint32_t Length(const uint8_t* data) const; // the length asked for at Alloc
    size_t FreeBlocks(BlockClass blockClass) const;

    int OnDetached() override;

private:
    // One class of equal blocks carved from one allocation.
    struct ClassStore {
        uint32_t dataSize = 0;
        size_t count = 0;
        std::unique_ptr<uint8_t[]> data;
        std::vector<uint32_t> users;
        std::vector<uint32_t> lengths;
        std::vector<uint32_t> freeList;

        bool ready() const { return data != nullptr || count == 0; }
        void prepare();
        void release();
        long indexOf(const uint8_t* p) const; // -1 when p is not a block start
    };
    struct SingleBlock {
        std::unique_ptr<uint8_t[]> data;
        uint32_t users = 0;
        uint32_t length = 0;
    };

    ClassStore small_;
    ClassStore medium_;
    std::unordered_map<const uint8_t*, SingleBlock> singles_;
};

} // namespace zib::ulvarf
