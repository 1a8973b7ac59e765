// Level 2 searches long blocks with its marks and tiers and short ones along
// the plain chains; on any block both must write the same bytes. The input
// is spread into a block long enough for the marks and tiers: copies of it,
// each a little changed, with the input's own bytes as noise between them.

#include "ulvarf/COComp.h"
#include "ulvarf/COCompEncoder.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

using zib::ulvarf::COComp;
using zib::ulvarf::COCompEncoder;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 16) return 0;
    const size_t target = 34000 + size_t(data[0]) * 64; // 34 to 50 KB
    std::vector<uint8_t> input;
    input.reserve(target + size);
    for (size_t round = 0; input.size() < target; ++round) {
        const size_t start = input.size();
        input.insert(input.end(), data + 1, data + size);
        input[start + round % (size - 1)] ^= uint8_t(round); // each copy differs a little
        if (data[round % size] & 1) input.insert(input.end(), data + size / 2, data + size); // a piece again
    }
    input.resize(target);

    std::vector<uint8_t> searched(COComp::MaxBlockSize(input.size()));
    std::vector<uint8_t> plain(searched.size());
    const uint32_t a = COCompEncoder(input, searched, 3, 2).Run();
    const uint32_t b = COCompEncoder(input, plain, 3, 2, true).Run();
    if (a == 0 || a != b || !std::equal(searched.begin(), searched.begin() + a, plain.begin())) std::abort();
    return 0;
}
