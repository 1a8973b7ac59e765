#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace zib {

// The "Ignore flags" page of the Wq MIDI-to-style settings sheet: which
// events the converter leaves out (Midi2StyIgnoreFlags, bit i = box 1632 + i).
struct MidiToStySettingsModel {
    struct Box {
        int id;
        std::string_view label;
    };
    static constexpr std::array<Box, 4> kBoxes{{
        {1632, "Ignore PROG CHANGE"},
        {1633, "Ignore VOLUME (Ctrl# 7)"},
        {1634, "Ignore PANPOT (Ctrl# 10)"},
        {1635, "Ignore BANK SELECT (Ctrl# 0 and Ctrl# 32)"},
    }};
    // A fifth box the page keeps hidden and disabled, and never reads or sets.
    static constexpr Box kHiddenBox{1636, "Ignore BANK SELECT LSB (Ctrl# 32)"};

    uint32_t flags = 0;

    bool CheckedAtStart(size_t box) const { return box < kBoxes.size() && ((flags >> box) & 1); }
    // OK: the flags from the four boxes; every other bit is cleared.
    void Ok(const std::array<bool, 4>& checked)
    {
        flags = 0;
        for (size_t i = 0; i < checked.size(); ++i)
            if (checked[i]) flags |= 1u << i;
    }
};

} // namespace zib
