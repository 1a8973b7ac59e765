#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "styles/PsrStylePlan.h"

namespace zib {

// Settings of the PSR-style conversion: the PsrStyToQeSty letters (an
// invalid text reads as the default) and the most bytes the style body may
// take (the conversion command's buffer).
struct PsrConvertSettings {
    std::string psrStyToQeSty = std::string(kDefaultPsrStyToQeSty);
    uint32_t outputCapacity = 300000;
};

// What the conversion command needs: 0 or the error code with its text
// ("CMidiFile error: %d - %s", at most 79 characters), the Qe style resource
// to wrap in the one-resource container, and the style name (the file's
// track name, at most 16 bytes, zero-padded).
struct PsrConversionResult {
    int code = 0;
    std::string errorText;
    std::vector<uint8_t> styleResource;
    std::array<uint8_t, 16> styleName{};
};

// Converts one Yamaha PSR style file image. `fileName` (the chosen file
// without its folder) goes into the dump log, which is written to `dumpLog`
// when one is given.
PsrConversionResult ConvertPsrStyle(std::span<const uint8_t> image, std::string_view fileName,
                                    const PsrConvertSettings& settings, std::ostream* dumpLog);

} // namespace zib
