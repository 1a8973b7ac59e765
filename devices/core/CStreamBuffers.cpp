#include "devices/core/CStreamBuffers.h"

#include <new>

namespace zib {

bool CStreamBuffers::Alloc()
{
    if (m_allocated) return true;
    try {
        for (auto& b : m_buffers) {
            b = ByteWriter(kCapacity);
            b.reserve(kCapacity); // writing never allocates again
        }
    } catch (const std::bad_alloc&) {
        Free();
        return false;
    }
    m_allocated = true;
    return true;
}

void CStreamBuffers::Free()
{
    for (auto& b : m_buffers) b = ByteWriter(kCapacity);
    m_allocated = false;
}

} // namespace zib
