#include "ulvarf/CMemIn.h"

#include <algorithm>
#include <cstring>

namespace zib::ulvarf {

size_t CMemIn::Read(uint8_t* dst, size_t n)
{
    n = std::min(n, cursor_.remaining());
    auto bytes = cursor_.bytes(n);
    if (n) std::memcpy(dst, bytes.data(), n);
    return n;
}

} // namespace zib::ulvarf
