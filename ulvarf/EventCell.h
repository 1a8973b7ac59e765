#pragma once

#include <cstdint>

namespace zib::ulvarf {

// One decoded event of a property event stream as the event pool hands it
// out: the two words of the 8-byte decoded form, the event-heap data that the
// second word points at in the stored form (a 32-bit word cannot hold a
// pointer here, so it has a field of its own), and the link to the next event
// of the same tick. The meaning of the words belongs to the stream codec; the
// pool only needs the kind byte and the heap-data flag.
struct EventCell {
    static constexpr uint32_t kFreeKind = 15;           // kind of a free cell
    static constexpr uint32_t kHeapData = 0x80000000u;  // word 1 bit 31: data in an event-heap block

    uint32_t word1 = kFreeKind;  // kind in bits 0-7; bit 31 set when heapData is in use
    uint32_t word2 = 0;
    uint8_t* heapData = nullptr; // event-heap block (CEventsHeap) when bit 31 of word1 is set
    EventCell* next = nullptr;   // next event of the same tick

    uint8_t kind() const { return uint8_t(word1 & 0xFF); }
    bool hasHeapData() const { return (word1 & kHeapData) != 0; }
};

} // namespace zib::ulvarf
