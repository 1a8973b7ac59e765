#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zib::ulvarf {

// The register of serialisable classes: 16-bit class ids, room for 16 to
// start, growing by 8, each id at most once.
class CRTClassList {
public:
    static constexpr size_t kInitialCapacity = 16;
    static constexpr size_t kGrowBy = 8;

    // Register
    bool Add(uint16_t classId); // false when the id is already there or memory runs out
    bool Contains(uint16_t classId) const;
    void Clear();

    // State
    size_t size() const { return ids_.size(); }
    size_t capacity() const { return capacity_; }

private:
    std::vector<uint16_t> ids_;
    size_t capacity_ = 0;
};

} // namespace zib::ulvarf
