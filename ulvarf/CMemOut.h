#pragma once

#include "ulvarf/CStream.h"

#include <span>
#include <vector>

namespace zib::ulvarf {

// Writes into a buffer of its own: 2000 bytes to start; a write that does not
// fit grows it to at least the needed size + 2000 bytes, and by half at least,
// so that long outputs are not copied over and over.
class CMemOut : public COut {
public:
    static constexpr size_t kInitialSize = 2000;
    static constexpr size_t kGrowth = 2000;

    CMemOut();

    // Writing
    bool Write(const uint8_t* src, size_t n) override;

    // Content
    std::span<const uint8_t> bytes() const { return {buffer_.data(), size_}; }
    size_t size() const { return size_; }
    size_t capacity() const { return buffer_.size(); }
    std::vector<uint8_t> Take();

private:
    std::vector<uint8_t> buffer_;
    size_t size_ = 0;
};

} // namespace zib::ulvarf
