// Any bytes encoded at every level decode back to themselves, and the
// encoder never writes past the room it is given.

#include "ulvarf/COComp.h"

#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

using zib::ulvarf::COComp;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> input(data, size);
    for (int version = 2; version <= 3; ++version) {
        for (int level = 0; level <= 2; ++level) {
            std::vector<uint8_t> block(COComp::MaxBlockSize(size));
            const uint32_t length = COComp::Encode(input, block, version, level);
            if (length == 0 || length > block.size()) std::abort();
            block.resize(length);

            std::vector<uint8_t> out(size);
            const uint32_t decoded = COComp::Decode(block, out, true);
            if (size > 0 && (decoded != size || std::memcmp(out.data(), data, size) != 0)) std::abort();

            // With the room of the input alone the encoder succeeds or gives up.
            std::vector<uint8_t> tight(size);
            const uint32_t fitted = COComp::Encode(input, tight, version, level);
            if (fitted > size || (fitted && fitted != length)) std::abort();
        }
    }
    return 0;
}
