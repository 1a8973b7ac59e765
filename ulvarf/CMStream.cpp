#include "ulvarf/CMStream.h"

#include "ulvarf/TraceMessage.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace zib::ulvarf {

CMStream::CMStream(size_t capacity, size_t limit) : limit_(limit)
{
    if (capacity) Resize(capacity);
}

bool CMStream::Resize(size_t capacity)
{
    if (capacity > limit_) {
        TraceMessage("CMStream::Resize - Unable to resize");
        SetError();
        return false;
    }
    try {
        buffer_.resize(capacity);
    } catch (const std::exception&) {
        TraceMessage("CMStream::Resize - Unable to resize");
        SetError();
        return false;
    }
    writePos_ = std::min(writePos_, capacity);
    readPos_ = std::min(readPos_, writePos_);
    return true;
}

bool CMStream::makeRoom(size_t n)
{
    if (n <= buffer_.size() - writePos_) return true;
    size_t needed = writePos_ + n;
    if (needed < writePos_ || needed > limit_) {
        TraceMessage("CMStream::Resize - Unable to resize");
        SetError();
        return false;
    }
    size_t grown = std::max(needed + kGrowth, buffer_.size() + buffer_.size() / 2);
    return Resize(std::min(grown, limit_));
}

bool CMStream::Write(const uint8_t* src, size_t n)
{
    if (n == 0) return true;
    if (!makeRoom(n)) return false;
    std::memcpy(buffer_.data() + writePos_, src, n);
    writePos_ += n;
    return true;
}

uint8_t* CMStream::Reserve(size_t n)
{
    // Room for a byte at least, so that even an empty reservation on a new
    // stream points into a buffer.
    if (!makeRoom(std::max<size_t>(n, 1))) return nullptr;
    uint8_t* at = buffer_.data() + writePos_;
    std::memset(at, 0, n);
    writePos_ += n;
    return at;
}

bool CMStream::Patch(size_t pos, const uint8_t* src, size_t n)
{
    if (pos > writePos_ || n > writePos_ - pos) return false;
    if (n) std::memcpy(buffer_.data() + pos, src, n);
    return true;
}

size_t CMStream::Read(uint8_t* dst, size_t n)
{
    n = std::min(n, writePos_ - readPos_);
    if (n) std::memcpy(dst, buffer_.data() + readPos_, n);
    readPos_ += n;
    return n;
}

bool CMStream::SeekRead(size_t pos)
{
    if (pos > writePos_) return false;
    readPos_ = pos;
    return true;
}

std::vector<uint8_t> CMStream::Take()
{
    buffer_.resize(writePos_);
    writePos_ = readPos_ = 0;
    return std::move(buffer_);
}

} // namespace zib::ulvarf
