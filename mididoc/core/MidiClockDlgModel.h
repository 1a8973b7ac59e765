#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace zib {

// The "MIDI Clock" dialog without its window: the twelve divisions, the
// button checked on opening (none for another value) and the division OK
// gives back (384 when none is checked).
struct MidiClockDlgModel {
    static constexpr std::array<uint16_t, 12> kDivisions = {48, 72, 96, 120, 144, 168, 192, 216, 240, 360, 384, 480};

    static std::optional<size_t> InitialChoice(uint16_t division);
    static uint16_t Ok(std::optional<size_t> checked);
};

} // namespace zib
