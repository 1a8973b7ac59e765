// Any bytes as a COComp block and as a bare token stream: decoding stays
// inside its input and output and reports damage as a result.

#include "ulvarf/COComp.h"

#include <cstdlib>
#include <span>
#include <vector>

using zib::ulvarf::COComp;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> input(data, size);

    const uint32_t length = COComp::UncompressedLength(input);
    if (length > COComp::kMaxUncompressed) std::abort();
    if (length) {
        std::vector<uint8_t> out(length);
        const uint32_t checked = COComp::Decode(input, out, true);
        const uint32_t unchecked = COComp::Decode(input, out, false);
        if ((checked && checked != length) || (unchecked && unchecked != length)) std::abort();
        if (checked && !unchecked) std::abort();
    }

    std::vector<uint8_t> out(4096);
    const int64_t produced = COComp::DecodeRaw(input, out);
    if (produced > int64_t(out.size()) || produced < COComp::kOverflow) std::abort();
    return 0;
}
