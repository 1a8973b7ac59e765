#pragma once

#include <array>
#include <cstdint>

namespace zib {

// "MIDI Record Settings": which MIDI channels are echoed while recording, one
// check box per channel (bit n of the mask for channel n + 1).
struct MidiRecordSettingsDlgModel {
    uint16_t echoMask = 0xFFFF;

    std::array<bool, 16> Checks() const
    {
        std::array<bool, 16> checks{};
        for (int n = 0; n < 16; ++n) checks[size_t(n)] = (echoMask >> n & 1) != 0;
        return checks;
    }
    void Ok(const std::array<bool, 16>& checks)
    {
        echoMask = 0;
        for (int n = 0; n < 16; ++n)
            if (checks[size_t(n)]) echoMask = uint16_t(echoMask | 1u << n);
    }
};

} // namespace zib
