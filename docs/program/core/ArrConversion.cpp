#include "docs/program/core/ArrConversion.h"

#include "docs/program/core/CArrItem.h"
#include "docs/program/core/PcgLayout.h"
#include "midi/ProgramNames.h"

#include <array>

namespace zib {

namespace {

using K = ArrOpKind;

// Family A ('9') to 'M': the name up to its first NUL.
std::vector<ArrOp> wq8ToWqR65()
{
    return {
        {K::Name, 0, 9, 0},     {K::Style, 17, 18},     {K::Copy, 19, 34, 12},  {K::Copy, 37, 37, 30},
        {K::Copy, 38, 38, 32},  {K::Copy, 39, 86, 34},  {K::Copy, 87, 102, 82}, {K::Copy, 103, 110, 90},
        {K::Copy, 127, 130, 98}, {K::Copy, 131, 132, 100}, {K::Copy, 135, 163, 102},
    };
}

std::vector<ArrOp> withMappedWords(std::vector<ArrOp> ops, std::initializer_list<int> words)
{
    for (int t : words)
        ops.push_back({K::Map, t, t + 1});
    return ops;
}

const std::vector<ArrOp> kWq8ToR65 = withMappedWords(wq8ToWqR65(), {39, 47, 55, 63, 71, 79, 87, 95, 103});

const std::vector<ArrOp> kWq6ToR65 = [] {
    auto ops = wq8ToWqR65();
    ops.insert(ops.end(), {{K::Copy, 19, 27, 12}, {K::Set, 28, 28, 0, 1}, {K::Copy, 29, 34, 22},
                           {K::Copy, 87, 100, 82}, {K::Set, 101, 101, 0, 3}, {K::Copy, 102, 102, 97},
                           {K::Copy, 103, 108, 90}, {K::Set, 109, 109, 0, 3}, {K::Copy, 110, 110, 97}});
    return withMappedWords(ops, {39, 47, 55, 63, 71, 79, 87, 95, 103});
}();

const std::vector<ArrOp> kWq8ToWq41 = [] {
    auto ops = wq8ToWqR65();
    ops.insert(ops.end(), {{K::Copy, 19, 25, 12}, {K::Set, 26, 27, 0, 0}, {K::Copy, 28, 34, 21}});
    return withMappedWords(ops, {39, 47, 55, 63, 71, 79, 87, 95, 103});
}();

// 'M' to family A: the name field's first ten bytes as they are.
std::vector<ArrOp> wqR65ToWq8()
{
    return {
        {K::Copy, 0, 9, 0},      {K::Copy, 10, 11, 17},   {K::Copy, 12, 27, 19},  {K::Copy, 30, 30, 37},
        {K::Copy, 32, 32, 38},   {K::Copy, 34, 81, 39},   {K::Copy, 82, 89, 87},  {K::Copy, 90, 97, 103},
        {K::Copy, 98, 99, 127},  {K::Copy, 100, 101, 131}, {K::Copy, 102, 130, 135},
    };
}

const std::vector<ArrOp> kR65ToWq8 = withMappedWords(wqR65ToWq8(), {34, 42, 50, 58, 66, 74, 82, 90});

const std::vector<ArrOp> kWq41ToWq8 = [] {
    auto ops = wqR65ToWq8();
    ops.insert(ops.end(), {{K::Copy, 10, 18, 17}, {K::Set, 19, 20, 0, 0}, {K::Copy, 21, 27, 28}});
    return withMappedWords(ops, {34, 42, 50, 58, 66, 74, 82, 90});
}();

// Between 'I' and 'M': the whole name field.
std::vector<ArrOp> wq41ToWqR65()
{
    return {
        {K::Copy, 0, 15, 0},     {K::Copy, 16, 21, 16},   {K::Set, 22, 22, 0, 7},  {K::Copy, 23, 25, 23},
        {K::Copy, 28, 34, 28},   {K::Copy, 37, 38, 37},   {K::Copy, 39, 86, 39},   {K::Copy, 87, 110, 87},
        {K::Copy, 127, 132, 127}, {K::Cap13, 133, 133, 133}, {K::Copy, 134, 163, 134},
    };
}

const std::vector<ArrOp> kWq41ToR65 = withMappedWords(wq41ToWqR65(), {39, 47, 55, 63, 71, 79, 87, 95, 103});

const std::vector<ArrOp> kR65ToWq41 = [] {
    auto ops = wq41ToWqR65();
    ops.insert(ops.end(), {{K::Set, 22, 22, 0, 0}, {K::Set, 131, 132, 0, 0}, {K::Copy, 133, 163, 133}});
    return withMappedWords(ops, {39, 47, 55, 63, 71, 79, 87, 95, 103});
}();

// Within family A: the record as it is, its program words mapped.
const std::vector<ArrOp> kWithinA = [] {
    return withMappedWords({{K::Copy, 0, 130, 0}}, {34, 42, 50, 58, 66, 74, 82, 90});
}();

// Style words of a '9' style byte on the Wq41.
constexpr std::array<uint16_t, 52> kWq8StylesOnWq41 = {
    106, 105, 256, 263, 109, 292, 261, 260, 264, 257, 284, 262, 258, 266, 96,  54,  81,  265,
    268, 269, 272, 26,  273, 112, 276, 280, 281, 108, 282, 283, 277, 288, 289, 293, 285, 56,
    278, 274, 270, 286, 296, 73,  116, 297, 298, 294, 290, 115, 300, 301, 302, 303,
};

} // namespace

const std::vector<ArrOp>* ArrConversionOps(int from, int to)
{
    if (from < 57 || from > 77 || from == to) return nullptr;
    if (pcg::IsFamilyA(from) && pcg::IsFamilyA(to)) return &kWithinA;
    if (from == '9' && to == 'M') return &kWq8ToR65;
    if ((from == '<' || from == 'H') && to == 'M') return &kWq6ToR65;
    if (pcg::IsFamilyA(from) && to == 'I') return &kWq8ToWq41;
    if (from == 'M' && pcg::IsFamilyA(to)) return &kR65ToWq8;
    if (from == 'I' && pcg::IsFamilyA(to)) return &kWq41ToWq8;
    if (from == 'I' && to == 'M') return &kWq41ToR65;
    if (from == 'M' && to == 'I') return &kR65ToWq41;
    return nullptr;
}

uint16_t ArrStyleWord(int from, int to, std::span<const uint8_t> source)
{
    const int s = source[10];
    const uint16_t unchanged = uint16_t(source[10] | source[11] << 8);
    if (from == '9') {
        if (s >= 52) return 256;
        if (to == 'I') return kWq8StylesOnWq41[size_t(s)];
        return uint16_t(s < 48 ? s : s - 48 + 256);
    }
    if (from == '<') {
        if (s >= 76) return unchanged;
        if (s < 48) return uint16_t(s);
        if (s < 56) return uint16_t(s - 48 + 256);
        return uint16_t(s - 56 + 64);
    }
    if (s >= 108) return unchanged; // 'H'
    if (s < 48 || s >= 96) return uint16_t(s);
    if (s < 56) return uint16_t(s - 48 + 256);
    if (s < 88) return uint16_t(s - 56 + 64);
    return uint16_t(s - 88 + 260);
}

std::optional<std::vector<uint8_t>> ConvertArrRecord(std::span<const uint8_t> source, int from, int to,
                                                     int targetRecordMode, const NameTables& tables)
{
    const std::vector<ArrOp>* ops = ArrConversionOps(from, to);
    const size_t sourceSize = ArrRecordSize(from, 1); // a 194-byte 'I' record gives its first 164
    if (!ops || sourceSize == 0 || source.size() < sourceSize) return std::nullopt;
    source = source.first(sourceSize);
    std::vector<uint8_t> t(ArrRecordSize(to, targetRecordMode), 0);
    for (const ArrOp& op : *ops) {
        switch (op.kind) {
        case K::Copy:
            for (int i = op.t; i <= op.last; ++i)
                t[size_t(i)] = source[size_t(op.s + i - op.t)];
            break;
        case K::Set:
            for (int i = op.t; i <= op.last; ++i)
                t[size_t(i)] = uint8_t(op.value);
            break;
        case K::Name:
            for (int i = op.t; i <= op.last && source[size_t(op.s + i - op.t)] != 0; ++i)
                t[size_t(i)] = source[size_t(op.s + i - op.t)];
            break;
        case K::Style: {
            const uint16_t word = ArrStyleWord(from, to, source);
            t[size_t(op.t)] = uint8_t(word);
            t[size_t(op.t) + 1] = uint8_t(word >> 8);
            break;
        }
        case K::Map: {
            const uint16_t word = uint16_t(t[size_t(op.t)] | t[size_t(op.t) + 1] << 8);
            const uint16_t mapped = MapProgramNumber(from, to, word, tables);
            t[size_t(op.t)] = uint8_t(mapped);
            t[size_t(op.t) + 1] = uint8_t(mapped >> 8);
            break;
        }
        case K::Cap13: t[size_t(op.t)] = source[size_t(op.s)] <= 13 ? source[size_t(op.s)] : 10; break;
        }
    }
    return t;
}

} // namespace zib
