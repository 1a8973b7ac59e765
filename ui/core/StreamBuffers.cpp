#include "ui/core/StreamBuffers.h"

#include <new>

namespace zib {

bool StreamBuffers::Alloc()
{
    if (m_allocated) return true;
    for (auto& b : m_buffers) {
        b.reset(new (std::nothrow) uint8_t[kSize]());
        if (!b) {
            Free();
            return false;
        }
    }
    m_allocated = true;
    return true;
}

void StreamBuffers::Free()
{
    for (auto& b : m_buffers) b.reset();
    m_allocated = false;
}

} // namespace zib
