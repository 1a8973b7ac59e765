// Level 2 finds its matches through tiers, marks and copied repeats; on any
// block its bytes must be those of the plain chain walk. The input is spread
// into a block long enough for the marks: copies of it, each a little
// changed, with the input's own bytes as noise between them and now and then
// a repeat of a short period taken from the input.

#include "ulvarf/COComp.h"

#include "tests/support/PlainChainEncoder.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

using zib::ulvarf::COComp;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 16) return 0;
    const size_t target = 34000 + size_t(data[0]) * 64; // 34 to 50 KB
    std::vector<uint8_t> input;
    input.reserve(target + size + 4096);
    for (size_t round = 0; input.size() < target; ++round) {
        const size_t start = input.size();
        input.insert(input.end(), data + 1, data + size);
        input[start + round % (size - 1)] ^= uint8_t(round); // each copy differs a little
        const uint8_t choice = data[round % size];
        if (choice & 1) input.insert(input.end(), data + size / 2, data + size); // a piece again
        if ((choice & 6) == 6) { // a repeat of 1 to 16 bytes, up to 4 KB long
            const size_t period = 1 + choice % 16;
            const size_t length = 40 + size_t(data[(round + 1) % size]) * 16;
            for (size_t i = 0; i < length; ++i) input.push_back(data[1 + i % period]);
        }
    }
    input.resize(target);

    std::vector<uint8_t> block(COComp::MaxBlockSize(input.size()));
    block.resize(COComp::Encode(input, block, 3, 2));
    if (block.empty() || block != zib::test::encodeWithPlainChains(input)) std::abort();
    return 0;
}
