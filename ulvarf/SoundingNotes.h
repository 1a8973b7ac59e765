#pragma once

#include "ulvarf/PropEvent.h"

#include <cstdint>
#include <vector>

namespace zib::ulvarf {

// The plain notes and VexSounds sounding on one channel: note ons count up,
// note offs down, by key. Used where a stream is cut, so that every note cut
// off still ends.
class SoundingNotes {
public:
    static bool IsOff(const PropEvent& event)
    {
        return event.kind == PropKind::NoteOff || event.kind == PropKind::VexSoundOff;
    }

    // Counts the event; false for a note off that ends no sounding note.
    bool Count(const PropEvent& event)
    {
        const bool vex = event.kind == PropKind::VexSoundOn || event.kind == PropKind::VexSoundOff;
        uint32_t& count = counts_[vex ? 1 : 0][event.data1 & 0x7F];
        if (event.kind == PropKind::NoteOn || event.kind == PropKind::VexSoundOn) {
            ++count;
            return true;
        }
        if (IsOff(event)) {
            if (count == 0) return false;
            --count;
        }
        return true;
    }

    // Note offs (velocity 64) for everything still sounding, at the tick;
    // afterwards nothing sounds.
    std::vector<PropEvent> Offs(uint32_t tick, uint8_t track)
    {
        std::vector<PropEvent> offs;
        for (uint8_t vex = 0; vex < 2; ++vex)
            for (uint8_t key = 0; key < 128; ++key)
                for (; counts_[vex][key] > 0; --counts_[vex][key])
                    offs.push_back(PropEvent::Channel(tick, vex ? PropKind::VexSoundOff : PropKind::NoteOff, track,
                                                      key, PropEvent::kDefaultOffVelocity));
        return offs;
    }

private:
    uint32_t counts_[2][128] = {};
};

} // namespace zib::ulvarf
