#pragma once

#include <cstddef>

namespace zib {

// Blocks of one size for the events of the editable sequence, carved from
// 2 MiB slabs: a file of a million events costs a few thousand allocations
// instead of a million, with no per-block heap header, its events lie in
// the order they were made, and a slab whose blocks are all free goes back
// to the system (a few of them, at most half as many as are in use, are
// kept for the next blocks, which then need no fresh pages). Thread-safe
// (the recorder makes events on its own thread). Built with
// AddressSanitizer every block comes from the heap as usual, so that a use
// after free is still caught. Undo records of the MIDI document come from
// here too.
class EventPool {
public:
    // A block of `size` bytes (16-aligned); blocks above kMaxBlock come from the heap
    static void* Allocate(size_t size);
    // Gives back a block of Allocate with the same size
    static void Free(void* block, size_t size) noexcept;

    static constexpr size_t kMaxBlock = 128;
};

} // namespace zib
