#include "styles/PackQe7Bit.h"

#include <algorithm>

namespace zib {

int PackQe7Bit(std::span<const uint8_t> group, std::span<uint8_t, 8> out)
{
    const size_t n = std::min<size_t>(group.size(), 7);
    if (n == 0) return 0;
    uint8_t high = 0;
    for (size_t i = 0; i < n; ++i) {
        high |= uint8_t((group[i] >> 7) << i);
        out[i + 1] = group[i] & 0x7F;
    }
    out[0] = high;
    return int(n + 1);
}

size_t PackedQe7BitSize(size_t size)
{
    return size / 7 * 8 + (size % 7 ? size % 7 + 1 : 0);
}

std::vector<uint8_t> PackQe7BitBlock(std::span<const uint8_t> data)
{
    std::vector<uint8_t> packed;
    packed.reserve(PackedQe7BitSize(data.size()));
    uint8_t group[8];
    for (size_t at = 0; at < data.size(); at += 7) {
        const int n = PackQe7Bit(data.subspan(at, std::min<size_t>(7, data.size() - at)), group);
        packed.insert(packed.end(), group, group + n);
    }
    return packed;
}

std::vector<uint8_t> UnpackQe7BitBlock(std::span<const uint8_t> packed)
{
    std::vector<uint8_t> out;
    out.reserve(packed.size());
    size_t i = 0;
    while (i < packed.size() && packed[i] < 0x80) {
        const uint8_t high = packed[i++];
        for (int k = 0; k < 7 && i < packed.size() && packed[i] < 0x80; ++k, ++i)
            out.push_back(uint8_t(packed[i] | (((high >> k) & 1) << 7)));
    }
    return out;
}

} // namespace zib
