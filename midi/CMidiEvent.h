#pragma once

#include "midi/CMidiEventBase.h"
#include "midi/EventPool.h"

#include <cstddef>
#include <new>

namespace zib {

// The complete event of the editable sequence: adds its measure position,
// note pair id and flags. Displays add 1 to measure and beat.
class CMidiEvent : public CMidiEventBase {
public:
    // Flags
    enum : uint8_t {
        kInitialValue = 0x01, // set a track's initial bank, program, volume or pan
        kTrackName = 0x04,    // the track-name meta event that named its track
        kFirstPort = 0x08,    // the first port meta event of a format-1 track
        kVexNoise = 0x10,     // a note that stands for a VEX Noise note
        kRecorded = 0x80,     // recorded, not yet in the undo history
    };

    CMidiEvent();
    ~CMidiEvent() override;

    // Events live in the event pool: a sequence of a million is made and
    // freed without a heap call per event
    static void* operator new(size_t size) { return EventPool::Allocate(size); }
    static void* operator new(size_t size, const std::nothrow_t&) noexcept;
    static void operator delete(void* block, size_t size) noexcept { EventPool::Free(block, size); }
    static void operator delete(void* block, const std::nothrow_t&) noexcept;

    uint32_t measure = 0; // from 0
    uint32_t beat = 0;    // within the measure, from 0
    uint32_t tick = 0;    // within the beat, from 0
    int32_t pairId = -1;  // shared by a note-on and its note-off; -1 = none
    uint8_t flags = 0;
    // Format 0: the track chunk the event was read from (a file may hold
    // several; written back, each keeps its own); 0 for new events
    uint8_t chunk = 0;
};

} // namespace zib
