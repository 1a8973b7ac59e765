#pragma once

#include "ulvarf/CStream.h"

#include <cstdint>
#include <span>
#include <vector>

namespace zib::ulvarf {

// A memory stream with a read position, a write position and a capacity.
// A write that does not fit grows the buffer (by 2000 bytes, or by half when
// that is more). A resize that cannot be done, because memory runs out or
// the capacity would pass the stream's limit, traces
// "CMStream::Resize - Unable to resize" and sets the error state.
class CMStream : public COut {
public:
    static constexpr size_t kGrowth = 2000;
    static constexpr size_t kDefaultLimit = UINT32_MAX;

    explicit CMStream(size_t capacity = 0, size_t limit = kDefaultLimit);

    // Writing
    bool Write(const uint8_t* src, size_t n) override;
    // n zeroed bytes at the write position, which moves past them; null on failure.
    // The pointer is valid until the next write or resize.
    uint8_t* Reserve(size_t n);
    // Overwrites bytes already written (a placeholder filled in later).
    bool Patch(size_t pos, const uint8_t* src, size_t n);

    // Reading
    size_t Read(uint8_t* dst, size_t n);
    bool SeekRead(size_t pos);
    size_t readPos() const { return readPos_; }

    // Buffer
    bool Resize(size_t capacity);
    size_t capacity() const { return buffer_.size(); }
    size_t size() const { return writePos_; }
    std::span<const uint8_t> bytes() const { return {buffer_.data(), writePos_}; }
    std::vector<uint8_t> Take();

private:
    bool makeRoom(size_t n);

    std::vector<uint8_t> buffer_;
    size_t limit_;
    size_t readPos_ = 0;
    size_t writePos_ = 0;
};

} // namespace zib::ulvarf
