#include "docs/style/core/QeValueHelpers.h"

#include "styles/PackQe7Bit.h"
#include "tests/docs/style/StyleDocFixtures.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

TEST(QeValueHelpers, SignatureTexts)
{
    struct Case {
        int value;
        const char* text;
    } cases[] = {{0, "1/1"},  {3, "4/1"},   {15, "16/1"}, {19, "4/2"},  {35, "4/4"}, {34, "3/4"},
                 {51, "4/8"}, {54, "7/8"}, {67, "4/16"}, {79, "16/16"}, {80, "N/A"}, {255, "N/A"}, {-1, "N/A"}};
    for (const auto& c : cases)
        EXPECT_EQ(GetQeSignatureText(c.value), c.text) << c.value;
}

TEST(QeValueHelpers, ElementSignatureOfAStyle)
{
    const std::vector<uint8_t> style = test::qeStyleInstance({});
    EXPECT_EQ(GetQeElementSignatureText(style, 0), "4/4");
    EXPECT_EQ(GetQeElementSignatureText({}, 0), "N/A");
    EXPECT_EQ(GetQeElementSignatureText(std::vector<uint8_t>{1, 2, 3}, 0), "N/A");
}

TEST(QeValueHelpers, FactoryTablesAreCompleteWithTheRowsShown)
{
    const CQeSoundTables& t = CQeSoundTables::BuiltIn();
    EXPECT_TRUE(t.Problems().empty()) << t.Problems().front();
    using T = CQeSoundTables::Table;
    ASSERT_EQ(t.Rows(T::Qe4kMelodic).size(), 663u);
    ASSERT_EQ(t.Rows(T::Qe4kDrums).size(), 128u);
    ASSERT_EQ(t.Rows(T::Qe9zMelodic).size(), 828u);
    ASSERT_EQ(t.Rows(T::Qe9zDrums).size(), 128u);
    struct Row {
        T table;
        size_t index;
        uint8_t msb, lsb, program;
        const char* name;
    } shown[] = {
        {T::Qe4kMelodic, 0, 121, 0, 0, "*Ac. Piano"},  {T::Qe4kMelodic, 1, 121, 1, 0, "AcPianoWide"},
        {T::Qe4kMelodic, 2, 121, 2, 0, "AcPianoDark"}, {T::Qe4kDrums, 0, 120, 0, 0, "Std. Kit1"},
        {T::Qe4kDrums, 1, 120, 0, 1, "Std. Kit2"},     {T::Qe4kDrums, 2, 120, 0, 2, "Std. Kit3"},
        {T::Qe9zMelodic, 0, 121, 0, 0, "Ac. Piano"},   {T::Qe9zMelodic, 1, 121, 1, 0, "Ac.Piano Wide"},
        {T::Qe9zMelodic, 2, 121, 2, 0, "Ac. Piano Dark"},
    };
    for (const auto& r : shown) {
        const auto& row = t.Rows(r.table)[r.index];
        EXPECT_EQ(row.msb, r.msb);
        EXPECT_EQ(row.lsb, r.lsb);
        EXPECT_EQ(row.program, r.program);
        EXPECT_EQ(row.name, r.name);
    }
    // Qe9z drum kits: programs 0-127 under LSB 0.
    for (size_t p = 0; p < 128; ++p) {
        EXPECT_EQ(t.Rows(T::Qe9zDrums)[p].lsb, 0);
        EXPECT_EQ(t.Rows(T::Qe9zDrums)[p].program, p);
    }
}

TEST(QeValueHelpers, LoadingReportsBrokenRowsAndCounts)
{
    CQeSoundTables t;
    t.LoadText("# comment\nqe4k-melodic\t121\t0\t0\tPiano\nqe4k-melodic\t121\t0\tx\tBad\nother\t1\t2\t3\tX\n");
    EXPECT_EQ(t.Rows(CQeSoundTables::Table::Qe4kMelodic).size(), 1u);
    // Two broken lines, four tables of the wrong size.
    EXPECT_EQ(t.Problems().size(), 6u);
}

TEST(QeValueHelpers, SoundNames)
{
    struct Case {
        uint32_t address;
        int set;
        const char* name;
    } cases[] = {
        {0x79000000, 0, "*Ac. Piano"},    {0x79000000, 1, "Ac. Piano"},
        {0x79400046, 0, "N/A"},           {0x79400046, 1, "User1Prg070"},
        {0x7940003F, 0, "User1Prg63"},    {0x79410000, 0, "User2Prg00"},
        {0x78400005, 0, "UserDrum05"},    {0x78440005, 1, "EXB1UserDrum005"},
        {0x79470000, 1, "EXB2User2Prg000"}, {0x79470080, 1, "N/A"},
        {0x78000001, 0, "Std. Kit2"},     {0x79080000, 0, "N/A"},
        {0x7A000000, 0, "N/A"},           {0, 0, "N/A"},
        {0x79000000, 2, "N/A"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetQeSoundName(c.address, c.set), c.name) << std::hex << c.address << " set " << c.set;
}

TEST(QeValueHelpers, ValidatingAgainstTheQe4kSounds)
{
    struct Case {
        uint8_t msb, lsb, program;
        int result;
        uint8_t outMsb, outLsb, outProgram;
    } cases[] = {
        {121, 0, 0, 0, 121, 0, 0},    {121, 2, 0, 0, 121, 2, 0},   {121, 64, 63, 0, 121, 64, 63},
        {120, 64, 10, 0, 120, 64, 10}, {120, 0, 5, 0, 120, 0, 5},   {121, 8, 0, 1, 121, 0, 0},
        {121, 65, 70, 1, 121, 0, 0},  {121, 68, 12, 1, 121, 0, 12}, {120, 3, 7, 1, 120, 0, 7},
        {119, 3, 7, 1, 121, 0, 0},    {121, 7, 200, 1, 121, 0, 0},
    };
    for (const auto& c : cases) {
        uint8_t msb = c.msb, lsb = c.lsb, program = c.program;
        EXPECT_EQ(ValidateQeSoundAddress(msb, lsb, program), c.result) << int(c.msb) << "/" << int(c.lsb);
        EXPECT_EQ(msb, c.outMsb);
        EXPECT_EQ(lsb, c.outLsb);
        EXPECT_EQ(program, c.outProgram) << int(c.msb) << "/" << int(c.lsb) << "/" << int(c.program);
    }
}

TEST(QeValueHelpers, SevenBitGroupsRoundTrip)
{
    const std::vector<uint8_t> source = {0x80, 0x01, 0xFF};
    std::array<uint8_t, 8> packed{};
    ASSERT_EQ(PackQe7Bit(source, packed), 4);
    EXPECT_EQ(std::vector<uint8_t>(packed.begin(), packed.begin() + 4), (std::vector<uint8_t>{0x05, 0x00, 0x01, 0x7F}));
    std::array<uint8_t, 8> back{};
    ASSERT_EQ(UnpackQe7Bit(std::span<const uint8_t>(packed.data(), 4), back), 3);
    EXPECT_EQ(std::vector<uint8_t>(back.begin(), back.begin() + 3), source);

    // Eight bytes give seven; more than eight are not read.
    const std::vector<uint8_t> group = {0x7F, 1, 2, 3, 4, 5, 6, 7, 99};
    EXPECT_EQ(UnpackQe7Bit(group, back), 7);
    EXPECT_EQ(back[6], 0x87);
    EXPECT_EQ(UnpackQe7Bit({}, back), 0);
    EXPECT_EQ(UnpackQe7Bit(group, {}), 0);
    std::array<uint8_t, 2> small{};
    EXPECT_EQ(UnpackQe7Bit(group, small), 2); // never past the destination
}

} // namespace
} // namespace zib
