#include "tests/support/ArrFileBuilder.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

namespace zib::test {

namespace {

bool familyA(int model)
{
    return model == '9' || model == '<' || model == 'H';
}

size_t recordSize(int model, int recordMode)
{
    return familyA(model) ? 131 : model == 'I' && recordMode == 2 ? 194 : 164;
}

void putName(std::vector<uint8_t>& bytes, size_t at, const std::string& name, size_t width)
{
    for (size_t i = 0; i < width; ++i)
        bytes[at + i] = i < name.size() ? uint8_t(name[i]) : uint8_t(' ');
}

} // namespace

std::vector<uint8_t> arrRecord(int model, const std::string& name, uint8_t seed, int recordMode)
{
    std::vector<uint8_t> r(recordSize(model, recordMode));
    for (size_t i = 0; i < r.size(); ++i)
        r[i] = uint8_t(i + seed);
    putName(r, 0, name, familyA(model) ? 10 : 16);
    return r;
}

ArrFileBuilder::ArrFileBuilder(int model, int recordMode)
    : model_(model), recordMode_(recordMode), head_(familyA(model) ? 672 : 32)
{
    for (size_t i = 0; i < head_.size(); ++i)
        head_[i] = uint8_t(0xA0 + i);
    head_[0] = 'D';
    head_[1] = 'A';
    head_[2] = 'S';
    head_[3] = 'K';
    head_[4] = uint8_t(model);
    const int count = model == 'I' ? 128 : 64;
    for (int i = 0; i < count; ++i)
        records_.push_back(arrRecord(model, "Arr" + std::to_string(i + 1), uint8_t(i), recordMode));
}

ArrFileBuilder& ArrFileBuilder::record(int index, std::vector<uint8_t> bytes)
{
    records_[size_t(index)] = std::move(bytes);
    return *this;
}

ArrFileBuilder& ArrFileBuilder::headByte(size_t at, uint8_t value)
{
    head_[at] = value;
    return *this;
}

std::vector<uint8_t> ArrFileBuilder::image() const
{
    std::vector<uint8_t> out = head_;
    const size_t stride = familyA(model_) ? 131 : 164;
    for (const auto& r : records_)
        out.insert(out.end(), r.begin(), r.begin() + std::ptrdiff_t(stride));
    // Record mode 2: the 30-byte tails follow the last record.
    if (model_ == 'I' && recordMode_ == 2)
        for (const auto& r : records_)
            out.insert(out.end(), r.begin() + 164, r.end());
    return out;
}

std::vector<uint8_t> userStyleFile(int letter, const std::vector<std::string>& names, uint16_t styleSize)
{
    std::vector<uint8_t> out(familyA(letter) ? 72 + 1168 : 224, 0);
    const uint8_t magic[] = {'D', 'A', 'S', 'K', uint8_t(letter)};
    std::copy(std::begin(magic), std::end(magic), out.begin());
    if (familyA(letter)) {
        for (size_t i = 0; i < names.size() && i < 4; ++i)
            putName(out, 32 + 10 * i, names[i], 10);
        return out;
    }
    // A keyboard's style file holds all 48 user styles.
    for (size_t i = 0; i < 48; ++i) {
        out[24 + 4 * i] = uint8_t(styleSize);
        out[25 + 4 * i] = uint8_t(styleSize >> 8);
        std::vector<uint8_t> style(styleSize, 0);
        putName(style, 0, i < names.size() ? names[i] : "empty", 16);
        out.insert(out.end(), style.begin(), style.end());
    }
    return out;
}

std::vector<uint8_t> userProgramFile(int letter, const std::vector<std::string>& names)
{
    std::vector<uint8_t> out(familyA(letter) ? 14255 : 30480, 0);
    out[0] = 'D';
    out[1] = 'A';
    out[2] = 'S';
    out[3] = 'K';
    out[4] = uint8_t(letter);
    for (size_t i = 0; i < names.size(); ++i) {
        if (familyA(letter))
            putName(out, 88 + 10 * i, names[i], 10);
        else
            putName(out, 48 + 172 * i, names[i], 16);
    }
    return out;
}

} // namespace zib::test
