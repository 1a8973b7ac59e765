#include "docs/program/core/ItemFileHead.h"

#include <algorithm>

namespace zib {

std::optional<uint8_t> ReadItemFileHead(std::span<const uint8_t> bytes)
{
    static constexpr uint8_t kDask[4] = {'D', 'A', 'S', 'K'};
    if (bytes.size() < kItemFileHeadSize || !std::equal(kDask, kDask + 4, bytes.begin())) return std::nullopt;
    return bytes[4];
}

void WriteItemFileHead(ByteWriter& out, uint8_t modelLetter)
{
    out.text("DASK");
    out.u8(modelLetter);
}

} // namespace zib
