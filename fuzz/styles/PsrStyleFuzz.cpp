// Yamaha PSR style files as users bring them: the converter must read any
// image to a result code, never past its bytes, and never write more than
// the capacity it is given.
#include "fuzz/styles/FuzzCheck.h"
#include "styles/PsrStyleConversion.h"
#include "tests/support/NullStream.h"

#include <cstddef>
#include <cstdint>
#include <ostream>

// The whole input is the file. Its last byte picks the run: below 16 a
// small output capacity (64 bytes a step), bit 4 no dump log, bit 5 other
// section letters.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const uint8_t last = size ? data[size - 1] : 0;
    zib::PsrConvertSettings settings;
    if (last < 16) settings.outputCapacity = uint32_t(last) * 64;
    if (last & 0x20) settings.psrStyToQeSty = "ABCDBCEFAC";
    zib::test::NullStream log;
    const zib::PsrConversionResult result =
        zib::ConvertPsrStyle(std::span<const uint8_t>(data, size), "fuzz.sty", settings, (last & 0x10) ? nullptr : &log);
    if (result.code == 0)
        zib::fuzz::check(result.styleResource.size() <= settings.outputCapacity);
    else
        zib::fuzz::check(result.styleResource.empty() && result.errorText.size() <= 79);
    return 0;
}
