#include "mididoc/core/MidiDocAllocator.h"

#include <new>

namespace zib {

namespace {

uint64_t g_calls = 0;
uint64_t g_failAt = 0;

} // namespace

bool MidiDocAllocator::Grant()
{
    ++g_calls;
    return g_failAt == 0 || g_calls != g_failAt;
}

void MidiDocAllocator::FailAt(uint64_t n)
{
    g_calls = 0;
    g_failAt = n;
}

uint64_t MidiDocAllocator::Count()
{
    return g_calls;
}

std::unique_ptr<CMidiEvent> MidiDocAllocator::NewEvent()
{
    if (!Grant()) return nullptr;
    try {
        return std::make_unique<CMidiEvent>();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

std::unique_ptr<CMidiEvent> MidiDocAllocator::CopyEvent(const CMidiEvent& event)
{
    if (!Grant()) return nullptr;
    try {
        return std::make_unique<CMidiEvent>(event);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

bool MidiDocAllocator::Resize(std::vector<uint8_t>& buffer, size_t size)
{
    if (!Grant()) return false;
    try {
        buffer.resize(size, 0);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool MidiDocAllocator::Resize(EventBytes& buffer, size_t size)
{
    if (!Grant()) return false;
    try {
        buffer.resize(size, 0);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool MidiDocAllocator::Object(size_t /*bytes*/)
{
    return Grant();
}

} // namespace zib
