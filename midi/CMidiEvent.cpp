#include "midi/CMidiEvent.h"

namespace zib {

CMidiEvent::CMidiEvent() = default;

CMidiEvent::~CMidiEvent() = default;

void* CMidiEvent::operator new(size_t size, const std::nothrow_t&) noexcept
{
    try {
        return EventPool::Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void CMidiEvent::operator delete(void* block, const std::nothrow_t&) noexcept
{
    EventPool::Free(block, sizeof(CMidiEvent));
}

} // namespace zib
