#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zib::test {

// An arrangement record of the model (131 bytes for '9', '<', 'H'; 164 for
// 'M'; 164 or 194 for 'I' by record mode): the name blank-padded over the
// name field (10 or 16 bytes), every later byte (offset + seed) & 0xFF.
std::vector<uint8_t> arrRecord(int model, const std::string& name, uint8_t seed = 0, int recordMode = 1);

// A Wq arrangement file of the model in its layout, filled with distinct
// records named "Arr1", "Arr2" ... that the test replaces one by one.
class ArrFileBuilder {
public:
    explicit ArrFileBuilder(int model, int recordMode = 1);

    ArrFileBuilder& record(int index, std::vector<uint8_t> bytes);
    ArrFileBuilder& headByte(size_t at, uint8_t value);
    int count() const { return int(records_.size()); }
    std::vector<uint8_t> image() const;

private:
    int model_;
    int recordMode_;
    std::vector<uint8_t> head_;
    std::vector<std::vector<uint8_t>> records_;
};

// The sibling files an arrangement reads its user names from. A style file
// ("DASK" and `letter`): family A four names of 10 bytes at 32; family B a
// 224-byte head whose u16 at 24 + 4i is the size of style i, the styles back
// to back from 224, each beginning with its 16-byte name (all 48 of them,
// those without a name given named "empty").
std::vector<uint8_t> userStyleFile(int letter, const std::vector<std::string>& names, uint16_t styleSize = 1176);
// A program file: family A (14255 bytes) 64 names of 10 bytes from 88; family
// B (30480 bytes) 128 records of 172 bytes from 48, each beginning with its name.
std::vector<uint8_t> userProgramFile(int letter, const std::vector<std::string>& names);

} // namespace zib::test
