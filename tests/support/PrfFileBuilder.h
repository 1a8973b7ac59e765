#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zib::test {

// A performance's data as a performance file holds it: a serialised resource
// instance of type 1 (8-byte head, then the resource chunk) in the layout of
// an STS item: big-endian lengths at 12, 20 and 24, the STS count at 36,
// category, position, tempo, variation, element and fills at 38-46, eight
// style track records from 136 (sound at 8-11 of each: MSB, LSB, 0,
// program), `stsCount` STS blocks of 261 bytes from 432 (slot number first,
// four realtime track records from 113), then `extra` bytes. Every other
// byte is patterned from `seed`.
std::vector<uint8_t> performanceData(int stsCount = 1, uint8_t seed = 0, size_t extra = 16);
// Sets the sound of style track t (0-7) or, with `realtime`, of realtime
// track t (0-3) of the first STS block.
void setPerformanceSound(std::vector<uint8_t>& data, int track, bool realtime, uint8_t msb, uint8_t lsb,
                         uint8_t program);

// One performance of a performance file.
struct QePerformance {
    std::string name;
    uint8_t bank = 17;
    uint8_t position = 0;
    std::vector<uint8_t> data; // as performanceData gives it
};
// A DASF container of the performances, in the order given.
std::vector<uint8_t> qePrfImage(const std::vector<QePerformance>& performances);

// A .WFF item file: "DASK", the letter, u32 data size (or `sizeField`), the
// 18-byte name and the data.
std::vector<uint8_t> wffItemFile(int letter, const std::string& name, std::span<const uint8_t> data);
std::vector<uint8_t> wffItemFile(int letter, const std::string& name, std::span<const uint8_t> data,
                                 uint32_t sizeField);

} // namespace zib::test
