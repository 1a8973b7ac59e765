#include "styles/PsrChordTypes.h"

namespace zib {

namespace {

using T = PsrTension;
constexpr int kNone = kNoQeChordType;

// Qe types: 0 Major, 1 Maj6, 2 Maj7, 3 Maj7b5, 4 Sus4, 5 Sus2, 6 Maj7sus4,
// 7 min, 8 min6, 9 min7, 10 min7b5, 11 minMaj7, 12 7, 13 7b5, 14 7sus4,
// 15 dim, 16 dimMaj7, 17 aug, 18 aug7, 19 augMaj7, 20 No3rd, 21 No3rdNo5th.
constexpr PsrChordType kTypes[kPsrChordTypeCount] = {
    {"Maj", 0, 0, T::None},           {"Maj6", 1, 1, T::None},         {"Maj7", 2, 2, T::None},
    {"Maj7(#11)", kNone, 2, T::Sharp11}, {"Maj(9)", kNone, 0, T::Nine}, {"Maj7(9)", kNone, 2, T::Nine},
    {"Maj6(9)", kNone, 1, T::Nine},   {"aug", 17, 17, T::None},        {"min", 7, 7, T::None},
    {"min6", 8, 8, T::None},          {"min7", 9, 9, T::None},         {"min7b5", 10, 10, T::None},
    {"min(9)", kNone, 7, T::Nine},    {"min7(9)", kNone, 9, T::Nine},  {"min7(11)", kNone, 9, T::Eleven},
    {"minMaj7", 11, 11, T::None},     {"minMaj7(9)", kNone, 11, T::Nine}, {"dim", 15, 15, T::None},
    {"dim7", 16, 16, T::None},        {"7", 12, 12, T::None},          {"7sus4", 14, 14, T::None},
    {"7b5", 13, 13, T::None},         {"7(9)", kNone, 12, T::Nine},    {"7(#11)", kNone, 12, T::Sharp11},
    {"7(13)", kNone, 12, T::Thirteen}, {"7(b9)", kNone, 12, T::Flat9}, {"7(b13)", kNone, 18, T::Flat13},
    {"7(#9)", kNone, 12, T::Sharp9},  {"Maj7aug", 19, 19, T::None},    {"7aug", 18, 18, T::None},
    {"1+8", 21, 21, T::None},         {"1+5", 20, 20, T::None},        {"sus4", 4, 4, T::None},
    {"1+2+5", 5, 5, T::None},
};

} // namespace

std::span<const PsrChordType> PsrChordTypes() { return kTypes; }

const PsrChordType* FindPsrChordType(int type)
{
    return type >= 0 && type < kPsrChordTypeCount ? &kTypes[type] : nullptr;
}

int PsrTensionInterval(PsrTension tension)
{
    switch (tension) {
    case T::Sharp11: return 6;
    case T::Nine: return 2;
    case T::Eleven: return 5;
    case T::Thirteen: return 9;
    case T::Flat9: return 1;
    case T::Flat13: return 8;
    case T::Sharp9: return 3;
    case T::None: break;
    }
    return -1;
}

} // namespace zib
