#pragma once

#include "midi/NameTableLoader.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zib {

// Conversion of an arrangement record between the Wq models. Each pair is a
// list of operations on the zeroed target record, applied in order: a range
// of the source copied into the target, a constant, the name, the style word,
// a program word mapped to the target model, and the one capped byte.
enum class ArrOpKind {
    Copy,    // T[t .. last] <- S[s ..]
    Set,     // T[t .. last] = value
    Name,    // T[t .. last] <- S[s ..] up to the first NUL
    Style,   // the u16 style word at T[t]
    Map,     // the u16 program word at T[t] mapped to the target model
    Cap13,   // T[t] = S[s] when it is 13 or less, else 10
};

struct ArrOp {
    ArrOpKind kind;
    int t;
    int last;
    int s = 0;
    int value = 0;
};

// The operations of a pair (nullptr: no conversion). Within family A the
// record keeps its layout and only its program words are mapped.
const std::vector<ArrOp>* ArrConversionOps(int from, int to);

// The target record: `targetRecordMode` chooses 164 or 194 bytes for 'I'
// (the tail then zero); a 194-byte 'I' source gives its first 164 bytes.
// nullopt for a pair without a conversion or a source shorter than its model's record.
std::optional<std::vector<uint8_t>> ConvertArrRecord(std::span<const uint8_t> source, int from, int to,
                                                     int targetRecordMode,
                                                     const NameTables& tables = builtInNameTables());

// The style word (T17-18) of a family-A source for a family-B target: the
// pair's table for a style byte S10 below its length; otherwise 256 from
// '9', the two source bytes S10-11 from '<' and 'H'.
uint16_t ArrStyleWord(int from, int to, std::span<const uint8_t> source);

} // namespace zib
