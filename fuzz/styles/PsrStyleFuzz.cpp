// Yamaha PSR style files as users bring them: the converter must read any
// image to a result code, never past its bytes, and never write more than
// the capacity it is given.
#include "styles/PsrStyleConversion.h"

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <streambuf>

namespace {

class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

} // namespace

// The whole input is the file. Its last byte picks the run: below 16 a
// small output capacity (64 bytes a step), bit 4 no dump log, bit 5 other
// section letters.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const uint8_t last = size ? data[size - 1] : 0;
    zib::PsrConvertSettings settings;
    if (last < 16) settings.outputCapacity = uint32_t(last) * 64;
    if (last & 0x20) settings.psrStyToQeSty = "ABCDBCEFAC";
    NullBuffer buffer;
    std::ostream log(&buffer);
    const zib::PsrConversionResult result =
        zib::ConvertPsrStyle(std::span<const uint8_t>(data, size), "fuzz.sty", settings, (last & 0x10) ? nullptr : &log);
    if (result.code == 0 && result.styleResource.size() > settings.outputCapacity) __builtin_trap();
    if (result.code != 0 && (!result.styleResource.empty() || result.errorText.size() > 79)) __builtin_trap();
    return 0;
}
