// Arrangement records between the Wq models: hand-made goldens for four
// pairs, and for all twenty pairs the properties every conversion keeps.
#include "docs/program/core/ArrConversion.h"
#include "docs/program/core/ArrDocModel.h"

#include "midi/ProgramNames.h"
#include "tests/docs/program/ProgramTestDoc.h"
#include "tests/support/ArrFileBuilder.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

using Bytes = std::vector<uint8_t>;

// A source record whose byte i is i + 1 (so every byte tells where it came
// from), with a name, a style byte and program words of the caller's.
Bytes source(int model, const std::string& name, size_t size)
{
    Bytes s(size);
    for (size_t i = 0; i < size; ++i)
        s[i] = uint8_t(i + 1);
    std::fill(s.begin(), s.begin() + (model == 'I' || model == 'M' ? 16 : 10), 0);
    std::copy(name.begin(), name.end(), s.begin());
    return s;
}

void word(Bytes& b, size_t at, uint16_t w)
{
    b[at] = uint8_t(w);
    b[at + 1] = uint8_t(w >> 8);
}

uint16_t wordAt(const Bytes& b, size_t at)
{
    return uint16_t(b[at] | b[at + 1] << 8);
}

// T[t .. last] <- S[s ..]
void from(Bytes& t, int first, int last, const Bytes& s, int at)
{
    for (int i = first; i <= last; ++i)
        t[size_t(i)] = s[size_t(at + i - first)];
}

TEST(ArrConversion, Wq8ToWqR65)
{
    Bytes s = source('9', "Wq8 Ar", 131);
    s[7] = 'x'; // after the name's NUL: not part of the name
    s[10] = 50; // user style 3 of the Wq8
    for (size_t k = 0; k < 8; ++k)
        word(s, 34 + 8 * k, uint16_t(0x20 + k)); // general programs stay
    word(s, 42, 0x0150); // index 80 of the Wq8 becomes bank 3, index 16

    Bytes t(164, 0);
    const std::string name = "Wq8 Ar";
    std::copy(name.begin(), name.end(), t.begin());
    t[17] = 0x02, t[18] = 0x01; // style word 258
    from(t, 19, 34, s, 12);
    t[37] = s[30];
    t[38] = s[32];
    from(t, 39, 86, s, 34);
    t[47] = 0x10, t[48] = 0x03;
    from(t, 87, 102, s, 82);
    from(t, 103, 110, s, 90);
    from(t, 127, 130, s, 98);
    from(t, 131, 132, s, 100);
    from(t, 135, 163, s, 102);
    EXPECT_EQ(ConvertArrRecord(s, '9', 'M', 1), t);
}

TEST(ArrConversion, WqR65ToWq8)
{
    Bytes s = source('M', "R65 Arrange", 164);
    for (size_t k = 0; k < 9; ++k)
        word(s, 39 + 8 * k, uint16_t(0x10 + k));
    Bytes t(131, 0);
    std::copy_n(s.begin(), 10, t.begin());
    from(t, 10, 11, s, 17);
    from(t, 12, 27, s, 19);
    t[30] = s[37];
    t[32] = s[38];
    from(t, 34, 81, s, 39);
    from(t, 82, 89, s, 87);
    from(t, 90, 97, s, 103); // the lower keyboard takes the second upper's place
    from(t, 98, 99, s, 127);
    from(t, 100, 101, s, 131);
    from(t, 102, 130, s, 135);
    EXPECT_EQ(ConvertArrRecord(s, 'M', '9', 1), t);
}

TEST(ArrConversion, Wq41ToWqR65)
{
    Bytes s = source('I', "Wq41 Arrange", 194);
    for (size_t k = 0; k < 9; ++k)
        word(s, 39 + 8 * k, uint16_t(0x30 + k));
    s[133] = 14; // above 13: becomes 10
    Bytes t(164, 0);
    std::copy_n(s.begin(), 16, t.begin());
    from(t, 16, 21, s, 16);
    t[22] = 7;
    from(t, 23, 25, s, 23);
    from(t, 28, 34, s, 28);
    from(t, 37, 38, s, 37);
    from(t, 39, 110, s, 39);
    from(t, 127, 132, s, 127);
    t[133] = 10;
    from(t, 134, 163, s, 134);
    EXPECT_EQ(ConvertArrRecord(s, 'I', 'M', 1), t);
    s[133] = 13;
    EXPECT_EQ((*ConvertArrRecord(s, 'I', 'M', 1))[133], 13);
}

TEST(ArrConversion, WithinFamilyAOnlyTheProgramWordsChange)
{
    Bytes s = source('9', "Wq8", 131);
    for (size_t k = 0; k < 8; ++k)
        word(s, 34 + 8 * k, uint16_t(0x40 + k));
    word(s, 90, 0x0150);
    Bytes t = s;
    word(t, 90, 0x0310);
    EXPECT_EQ(ConvertArrRecord(s, '9', '<', 1), t);
}

TEST(ArrConversion, StyleWordsFromFamilyA)
{
    struct Case {
        int from, to;
        uint8_t s10, s11;
        uint16_t word;
    };
    const Case cases[] = {
        {'9', 'M', 47, 9, 47},   {'9', 'M', 48, 9, 256},  {'9', 'M', 51, 9, 259},   {'9', 'M', 52, 9, 256},
        {'9', 'I', 0, 0, 106},   {'9', 'I', 2, 0, 256},   {'9', 'I', 51, 0, 303},   {'9', 'I', 60, 0, 256},
        {'<', 'M', 55, 0, 263},  {'<', 'I', 56, 0, 64},   {'<', 'M', 75, 0, 83},    {'<', 'I', 76, 2, 0x024C},
        {'H', 'M', 87, 0, 95},   {'H', 'I', 88, 0, 260},  {'H', 'M', 96, 0, 96},    {'H', 'I', 108, 1, 0x016C},
    };
    for (const Case& c : cases) {
        Bytes s(131, 0);
        s[10] = c.s10;
        s[11] = c.s11;
        EXPECT_EQ(ArrStyleWord(c.from, c.to, s), c.word) << char(c.from) << char(c.to) << int(c.s10);
        EXPECT_EQ(wordAt(*ConvertArrRecord(s, c.from, c.to, 1), 17), c.word);
    }
}

TEST(ArrConversion, EveryPairKeepsItsSizeNameTempoAndMapsItsProgramWords)
{
    const int models[] = {'9', '<', 'H', 'I', 'M'};
    const auto familyA = [](int m) { return m == '9' || m == '<' || m == 'H'; };
    int pairs = 0;
    for (int from : models)
        for (int to : models) {
            if (from == to) {
                EXPECT_FALSE(ConvertArrRecord(source(from, "X", 194), from, to, 1));
                continue;
            }
            ++pairs;
            Bytes s = source(from, familyA(from) ? "TenLetters" : "Sixteen Letters!", familyA(from) ? 131 : 194);
            const size_t firstTrack = familyA(from) ? 34 : 39;
            for (size_t k = 0; k < 6; ++k)
                word(s, firstTrack + 8 * k, uint16_t(0x0140 + 0x41 + k)); // user-bank words the tables may map
            for (int mode : {1, 2}) {
                const auto t = ConvertArrRecord(s, from, to, mode);
                ASSERT_TRUE(t) << char(from) << char(to);
                EXPECT_EQ(t->size(), familyA(to) ? 131u : to == 'M' ? 164u : mode == 2 ? 194u : 164u);
                const size_t nameWidth = std::min(familyA(from) ? 10 : 16, familyA(to) ? 10 : 16);
                EXPECT_EQ(Bytes(t->begin(), t->begin() + ptrdiff_t(nameWidth)),
                          Bytes(s.begin(), s.begin() + ptrdiff_t(nameWidth)));
                const size_t tempoS = familyA(from) ? 14 : 21, tempoT = familyA(to) ? 14 : 21;
                EXPECT_EQ((*t)[tempoT], s[tempoS]) << char(from) << char(to);
                const size_t trackT = familyA(to) ? 34 : 39;
                for (size_t k = 0; k < 6; ++k)
                    EXPECT_EQ(wordAt(*t, trackT + 8 * k), MapProgramNumber(from, to, wordAt(s, firstTrack + 8 * k)))
                        << char(from) << char(to) << k;
                if (to == 'I' && mode == 2) {
                    EXPECT_EQ(Bytes(t->begin() + 164, t->end()), Bytes(30, 0));
                }
            }
        }
    EXPECT_EQ(pairs, 20);
    EXPECT_FALSE(ConvertArrRecord(source('9', "X", 131), 'F', 'M', 1));
    EXPECT_FALSE(ConvertArrRecord(source('9', "X", 131), '9', 'X', 1));
    EXPECT_FALSE(ConvertArrRecord(Bytes(130), '9', 'M', 1)); // shorter than its record
}

// A name field holds bytes after a NUL: a record of the Wq41 or WqR65 gives
// its whole field; one of family A going to them gives its name up to the NUL.
TEST(ArrConversion, TheNameFieldTravelsWholeButFromFamilyAUpToItsNul)
{
    const int models[] = {'9', '<', 'H', 'I', 'M'};
    const auto familyA = [](int m) { return m == '9' || m == '<' || m == 'H'; };
    for (int from : models)
        for (int to : models) {
            if (from == to) continue;
            Bytes s = source(from, "Ab", familyA(from) ? 131 : 194);
            s[4] = 'z'; // after the NUL at byte 2, inside every name field
            const auto t = ConvertArrRecord(s, from, to, 1);
            ASSERT_TRUE(t) << char(from) << char(to);
            const bool upToNul = familyA(from) && !familyA(to);
            EXPECT_EQ((*t)[4], upToNul ? 0 : 'z') << char(from) << " -> " << char(to);
            EXPECT_EQ((*t)[1], 'b');
        }
}

TEST(ArrConversion, AWq8ItemImportedIntoAWqR65DocumentIsConverted)
{
    test::ProgramTestDoc<ArrDocModel> t;
    ASSERT_TRUE(t.open("d.arr", test::ArrFileBuilder('M').image()));
    t.makeRoom(1);
    auto record = test::arrRecord('9', "Wq8Arrang", 3);
    record[10] = 50;
    word(record, 34, 0x0150);
    Bytes file = {'D', 'A', 'S', 'K', '9'};
    file.insert(file.end(), record.begin(), record.end());
    ASSERT_TRUE(t.doc.ImportFiles({t.file("w.WAF", file)}));
    const CArrItem& item = t.doc.items.back();
    EXPECT_EQ(item.model, uint32_t('M'));
    EXPECT_EQ(item.Size(), 164u);
    EXPECT_EQ(item.NameText(), "Wq8Arrang");
    EXPECT_EQ(wordAt(item.data, 17), 258);
    EXPECT_EQ(wordAt(item.data, 39), 0x0310);
    EXPECT_TRUE(t.port.messages.empty());
}

} // namespace
} // namespace zib
