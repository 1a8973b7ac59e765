#include "ulvarf/CMemOut.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace zib::ulvarf {

CMemOut::CMemOut()
{
    try {
        buffer_.resize(kInitialSize);
    } catch (const std::bad_alloc&) {
        SetError();
    }
}

bool CMemOut::Write(const uint8_t* src, size_t n)
{
    if (n == 0) return true;
    if (n > buffer_.size() - size_) {
        size_t needed = size_ + n;
        if (needed < size_) return SetError(), false;
        try {
            buffer_.resize(std::max(needed + kGrowth, buffer_.size() + buffer_.size() / 2));
        } catch (const std::exception&) {
            SetError();
            return false;
        }
    }
    std::memcpy(buffer_.data() + size_, src, n);
    size_ += n;
    return true;
}

std::vector<uint8_t> CMemOut::Take()
{
    buffer_.resize(size_);
    size_ = 0;
    return std::move(buffer_);
}

} // namespace zib::ulvarf
