#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zib::test {

// A Wq program record of the model (164 bytes for '9', '<', 'H', 172 for
// 'I', 'M'): the name blank-padded over the name field (10 or 16 bytes), every
// later byte set to (offset + seed) & 0xFF so records differ byte by byte.
std::vector<uint8_t> wqProgramRecord(int model, const std::string& name, uint8_t seed = 0);
// A Wq drum kit (head and map: 1484 or 1052 bytes), head as a program record,
// map bytes zero.
std::vector<uint8_t> wqDrumKit(int model, const std::string& name, uint8_t seed = 0);
// A little-endian 16-bit value into a record.
void putWord(std::vector<uint8_t>& bytes, size_t at, uint16_t value);
uint16_t wordAt(std::span<const uint8_t> bytes, size_t at);

// A Wq program file of the model in its layout (.PCG 14255 bytes for family
// A, .PRG 30480 for family B), filled with distinct records that the test
// replaces one by one.
class WqPcgBuilder {
public:
    explicit WqPcgBuilder(int model);

    WqPcgBuilder& program(int index, std::vector<uint8_t> record);
    WqPcgBuilder& drumKit(int index, std::vector<uint8_t> kit);
    // The head's bytes after "DASK" and the model letter.
    WqPcgBuilder& headByte(size_t at, uint8_t value);

    int programCount() const { return int(programs_.size()); }
    int drumKitCount() const { return int(kits_.size()); }
    std::vector<uint8_t> image() const;

private:
    int model_;
    std::vector<uint8_t> head_;
    std::vector<std::vector<uint8_t>> programs_;
    std::vector<std::vector<uint8_t>> kits_;
};

// Item files: "DASK", the model letter, then the record (Wq items), or a
// 34-byte header (u32 size, u32 bank at 12, 18-byte name at 16) and the data
// (Qe items).
std::vector<uint8_t> wqItemFile(int model, std::span<const uint8_t> record);
std::vector<uint8_t> qeItemFile(int model, const std::string& name, uint32_t bank, std::span<const uint8_t> data,
                                uint32_t sizeField);
std::vector<uint8_t> qeItemFile(int model, const std::string& name, uint32_t bank, std::span<const uint8_t> data);

// One program of a Qe program container.
struct QeProgram {
    std::string name;
    uint8_t bank = 9;
    uint8_t position = 0;
    uint8_t type = 4;
    uint8_t seed = 0; // varies the payload
};
// The program's resource chunk: a small chunk whose payload depends on seed.
std::vector<uint8_t> qeProgramChunk(uint8_t seed);
// A DASF container of the programs, in the order given.
std::vector<uint8_t> qePcgImage(const std::vector<QeProgram>& programs);

} // namespace zib::test
