#include "tests/support/PrfFileBuilder.h"

#include "tests/support/DasfImageBuilder.h"

#include <cstddef>

namespace zib::test {

namespace {

void putBe(std::vector<uint8_t>& b, std::size_t at, uint32_t v)
{
    b[at] = uint8_t(v >> 24);
    b[at + 1] = uint8_t(v >> 16);
    b[at + 2] = uint8_t(v >> 8);
    b[at + 3] = uint8_t(v);
}

} // namespace

std::vector<uint8_t> performanceData(int stsCount, uint8_t seed, std::size_t extra)
{
    const std::size_t size = 432 + 261 * std::size_t(stsCount) + extra;
    std::vector<uint8_t> d(size);
    for (std::size_t i = 0; i < size; ++i)
        d[i] = uint8_t(i * 7 + seed);
    // The instance head: type 1, the chunk's length (little-endian).
    d[0] = 1, d[1] = 0, d[2] = 0, d[3] = 0;
    const uint32_t chunk = uint32_t(size - 8);
    d[4] = uint8_t(chunk), d[5] = uint8_t(chunk >> 8), d[6] = uint8_t(chunk >> 16), d[7] = uint8_t(chunk >> 24);
    // The resource chunk: id bytes, flag 0x18 (stored as it is), big-endian payload size.
    d[8] = 0x0B, d[9] = 1, d[10] = 0, d[11] = 0x18;
    putBe(d, 12, uint32_t(size - 16));
    putBe(d, 20, uint32_t(size - 24));
    putBe(d, 24, uint32_t(size - 28));
    d[36] = uint8_t(stsCount);
    d[38] = 17, d[39] = 3, d[41] = 120, d[42] = 1, d[43] = 2, d[45] = 1, d[46] = 2;
    for (int t = 0; t < 8; ++t)
        setPerformanceSound(d, t, false, 121, 0, uint8_t(t));
    for (int s = 0; s < stsCount; ++s)
        d[432 + 261 * std::size_t(s)] = uint8_t(s);
    if (stsCount > 0)
        for (int t = 0; t < 4; ++t)
            setPerformanceSound(d, t, true, 121, 0, uint8_t(10 + t));
    return d;
}

void setPerformanceSound(std::vector<uint8_t>& data, int track, bool realtime, uint8_t msb, uint8_t lsb,
                         uint8_t program)
{
    const std::size_t record = realtime ? 432 + 113 + 37 * std::size_t(track) : 136 + 37 * std::size_t(track);
    data[record + 8] = msb;
    data[record + 9] = lsb;
    data[record + 10] = 0;
    data[record + 11] = program;
}

std::vector<uint8_t> qePrfImage(const std::vector<QePerformance>& performances)
{
    std::vector<DasfResource> resources;
    for (const auto& p : performances) {
        DasfResource r;
        r.name = p.name;
        r.type = 1;
        r.user1 = p.bank;
        r.user2 = p.position;
        r.chunk.assign(p.data.begin() + 8, p.data.end());
        resources.push_back(std::move(r));
    }
    return dasfImage(resources);
}

std::vector<uint8_t> wffItemFile(int letter, const std::string& name, std::span<const uint8_t> data)
{
    return wffItemFile(letter, name, data, uint32_t(data.size()));
}

std::vector<uint8_t> wffItemFile(int letter, const std::string& name, std::span<const uint8_t> data,
                                 uint32_t sizeField)
{
    std::vector<uint8_t> out = {'D', 'A', 'S', 'K', uint8_t(letter), uint8_t(sizeField), uint8_t(sizeField >> 8),
                                uint8_t(sizeField >> 16), uint8_t(sizeField >> 24)};
    for (std::size_t i = 0; i < 18; ++i)
        out.push_back(i < name.size() ? uint8_t(name[i]) : 0);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

} // namespace zib::test
