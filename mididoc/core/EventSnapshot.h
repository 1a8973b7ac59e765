#pragma once

#include "midi/CMidiEvent.h"

#include <cstdint>
#include <memory>

namespace zib {

// An event kept as a value: every field of the event and its raw bytes. The
// undo manager keeps one per recorded event; it owns nothing else, and the
// bytes of a channel or short meta event need no allocation of their own.
struct EventSnapshot {
    uint32_t time = 0;
    uint32_t length = 0;
    uint32_t index = 0;
    uint32_t paired = 0;
    uint32_t listVisible = 0;
    uint32_t played = 0;
    uint32_t duration = 0;
    uint32_t spare = 0;
    uint32_t measure = 0;
    uint32_t beat = 0;
    uint32_t tick = 0;
    int32_t pairId = -1;
    uint16_t state = 0;
    uint8_t status = 0xFF;
    uint8_t track = 0;
    uint8_t flags = 0;
    uint8_t chunk = 0;
    EventBytes bytes; // the `length` raw bytes (short ones held in place)

    // A copy of the event; false when its bytes cannot be had
    static bool Take(const CMidiEvent& event, EventSnapshot& out);
    // A new event with every field of the snapshot and its own bytes, not
    // listed (visible 0); null when it cannot be had
    std::unique_ptr<CMidiEvent> MakeEvent() const;
    // Restores a live event in place: it takes every field but its edit
    // state; it is no longer listed. False when its buffer cannot grow.
    bool RestoreInto(CMidiEvent& event) const;

    bool operator==(const EventSnapshot&) const = default;
};

} // namespace zib
