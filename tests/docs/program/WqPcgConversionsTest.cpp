// Wq8 program and drum-kit records in the Wq41/WqR65 layout.
#include "docs/program/core/WqPcgConversions.h"

#include "tests/support/PcgFileBuilder.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

using test::putWord;
using test::wordAt;

const Wq8SoundMap& sampleMap()
{
    static const Wq8SoundMap map = [] {
        Wq8SoundMap m(Wq8SoundMap::Kind::Sound, 4);
        m.LoadText("sound\t0\tOff\t0\tOff\nsound\t1\tOne\t2\tTwo\nsound\t2\tTwo\t3\tThree\n"
                   "sound\t3\tThree\t10\tTen\n");
        return m;
    }();
    return map;
}

TEST(WqPcgConversions, Wq8ProgramMovesUpEightBytesWithItsSoundsConverted)
{
    auto s = test::wqProgramRecord('9', "Piano", 3);
    putWord(s, 12, 1);
    s[14] = 0xAB;
    putWord(s, 15, 3);
    s[17] = 0xCD;
    const auto n = Wq8ProgramToFamilyB(s, sampleMap());
    ASSERT_TRUE(n);
    ASSERT_EQ(n->size(), 172u);
    EXPECT_EQ(std::string(n->begin(), n->begin() + 16), "Piano           ");
    EXPECT_EQ((*n)[16], 15);
    EXPECT_EQ((*n)[17], 0);
    EXPECT_EQ((*n)[18], s[10]); // oscillator mode
    EXPECT_EQ((*n)[19], s[11]); // assign
    EXPECT_EQ(wordAt(*n, 20), 2);
    EXPECT_EQ(wordAt(*n, 22), 10);
    EXPECT_EQ((*n)[24], 0xAB);
    EXPECT_EQ((*n)[25], 0xCD);
    for (size_t b = 26; b < 172; ++b)
        ASSERT_EQ((*n)[b], s[b - 8]) << b;

    EXPECT_FALSE(Wq8ProgramToFamilyB(std::vector<uint8_t>(163), sampleMap()));
    EXPECT_FALSE(Wq8ProgramToFamilyB(std::vector<uint8_t>(172), sampleMap()));
}

// A family-A map entry: sound, key, packed fields, settings.
void putEntry(std::vector<uint8_t>& kit, int entry, uint16_t sound, uint8_t key, uint8_t packed, uint8_t offset)
{
    const size_t at = 164 + 22 * size_t(entry);
    putWord(kit, at, sound);
    kit[at + 2] = key;
    kit[at + 3] = packed;
    kit[at + 4] = 4;
    kit[at + 5] = offset;
    kit[at + 6] = 6;
    kit[at + 7] = 7;
    kit[at + 8] = 8;
    kit[at + 9] = 9;
}

std::vector<uint8_t> entryB(const std::vector<uint8_t>& kit, int key)
{
    const size_t at = 172 + 10 * size_t(key - 21);
    return {kit.begin() + ptrdiff_t(at), kit.begin() + ptrdiff_t(at + 10)};
}

TEST(WqPcgConversions, Wq8DrumKitMapGoesToOneEntryPerKeyWithGapsFilledFromAbove)
{
    auto s = test::wqDrumKit('9', "Kit", 5);
    putWord(s, 15, 0x1234);
    putEntry(s, 0, 3, 63, 0xB3, 2); // fields 5 and 19, key - 2
    putEntry(s, 1, 1, 20, 0, 0);    // below key 21: dropped
    putEntry(s, 2, 1, 109, 0, 0);   // above key 108: dropped
    putEntry(s, 3, 1, 40, 0x21, 0); // overwritten by the next entry for key 40
    putEntry(s, 4, 2, 40, 0x22, 1);
    const auto n = Wq8DrumKitToFamilyB(s, 15, sampleMap());
    ASSERT_TRUE(n);
    ASSERT_EQ(n->size(), 1052u);
    EXPECT_EQ((*n)[16], 14);
    EXPECT_EQ(wordAt(*n, 20), 15);
    EXPECT_EQ(wordAt(*n, 22), 0x1234); // oscillator 2 word kept, not converted

    EXPECT_EQ(entryB(*n, 63), (std::vector<uint8_t>{10, 0, 5, 19, 4, 61, 6, 0, 8, 9}));
    EXPECT_EQ(entryB(*n, 40), (std::vector<uint8_t>{3, 0, 1, 2, 4, 39, 6, 0, 8, 9}));
    // The top key without an entry gets sound 0; below it every gap takes the
    // entry above, one semitone lower per step, without bytes 4 and 7.
    EXPECT_EQ(entryB(*n, 108), (std::vector<uint8_t>{0, 0, 0, 16, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(entryB(*n, 107), (std::vector<uint8_t>{0, 0, 0, 16, 0, 255, 0, 0, 0, 0}));
    EXPECT_EQ(entryB(*n, 62), (std::vector<uint8_t>{10, 0, 5, 19, 0, 60, 6, 0, 8, 9}));
    EXPECT_EQ(entryB(*n, 61)[5], 59);
    EXPECT_EQ(entryB(*n, 60)[5], 58);
    EXPECT_EQ(entryB(*n, 39), (std::vector<uint8_t>{3, 0, 1, 2, 0, 38, 6, 0, 8, 9}));
    EXPECT_EQ(entryB(*n, 21)[5], 20);

    EXPECT_FALSE(Wq8DrumKitToFamilyB(std::vector<uint8_t>(1483), 0, sampleMap()));
}

} // namespace
} // namespace zib
