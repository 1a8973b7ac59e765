#pragma once

#include "midi/CMidiEvent.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace zib {

// The smallest data buffer of a channel event, so that an edit that changes
// its status to a longer message never reallocates.
inline constexpr size_t kChannelEventBuffer = 6;

// Every event, raw buffer and undo snapshot that the MIDI document core makes
// comes from here, so that a test can make the n-th allocation fail and see
// the command give up cleanly. A real shortage of memory fails the same way.
class MidiDocAllocator {
public:
    // A new event (every field at its constructor value), or null
    static std::unique_ptr<CMidiEvent> NewEvent();
    // A copy of `event` with its raw bytes, or null
    static std::unique_ptr<CMidiEvent> CopyEvent(const CMidiEvent& event);
    // Gives `buffer` `size` bytes (new bytes zero); false when it cannot
    static bool Resize(std::vector<uint8_t>& buffer, size_t size);
    static bool Resize(EventBytes& buffer, size_t size);
    // Asks for one object (an undo snapshot, a track record) of `bytes` bytes;
    // false when it cannot be had
    static bool Object(size_t bytes);

    // Tests: the n-th allocation from now on fails once (1 = the next); 0 = none
    static void FailAt(uint64_t n);
    // Allocations asked for since the last FailAt
    static uint64_t Count();

private:
    static bool Grant();
};

// Makes the n-th allocation fail while it lives.
class ScopedAllocationFailure {
public:
    explicit ScopedAllocationFailure(uint64_t n) { MidiDocAllocator::FailAt(n); }
    ~ScopedAllocationFailure() { MidiDocAllocator::FailAt(0); }
    ScopedAllocationFailure(const ScopedAllocationFailure&) = delete;
    ScopedAllocationFailure& operator=(const ScopedAllocationFailure&) = delete;
};

} // namespace zib
