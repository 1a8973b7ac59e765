#pragma once

#include "ulvarf/CStream.h"

#include "platform/ByteCursor.h"

#include <span>

namespace zib::ulvarf {

// Reads a caller's buffer, which must outlive the stream.
class CMemIn : public CIn {
public:
    explicit CMemIn(std::span<const uint8_t> bytes) : cursor_(bytes) {}

    // Reading
    size_t Read(uint8_t* dst, size_t n) override;
    size_t remaining() const override { return cursor_.remaining(); }
    size_t pos() const { return cursor_.pos(); }
    bool Seek(size_t pos) { return cursor_.seek(pos); }

private:
    zib::ByteCursor cursor_;
};

} // namespace zib::ulvarf
