#include "docs/style/core/QeValueHelpers.h"

#include "styles/PackQe7Bit.h"
#include "styles/WqToQeSoundTable.h"
#include "tests/support/StyFileBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

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
}

TEST(QeValueHelpers, FactoryTablesKeepTheirRules)
{
    const CQeSoundTables& t = CQeSoundTables::BuiltIn();
    using T = CQeSoundTables::Table;
    const struct {
        T table;
        uint8_t msb;
        std::vector<uint8_t> userLsbs;
    } rules[] = {
        {T::Qe4kMelodic, 121, {64, 65}},
        {T::Qe4kDrums, 120, {64}},
        {T::Qe9zMelodic, 121, {64, 65, 68, 69, 70, 71}},
        {T::Qe9zDrums, 120, {64, 68, 70}},
    };
    for (const auto& rule : rules) {
        std::set<uint32_t> seen;
        for (const auto& row : t.Rows(rule.table)) {
            EXPECT_EQ(row.msb, rule.msb) << row.name;
            EXPECT_TRUE(seen.insert(uint32_t(row.lsb) << 8 | row.program).second) << "twice: " << row.name;
            EXPECT_EQ(std::count(rule.userLsbs.begin(), rule.userLsbs.end(), row.lsb), 0) << row.name;
            EXPECT_FALSE(row.name.empty());
            EXPECT_LE(row.name.size(), 49u);
        }
    }
    // No sound at (121, 8, 0): the validator's example falls back to LSB 0.
    EXPECT_EQ(t.Find(0, 121, 8, 0), nullptr);
    EXPECT_EQ(t.Find(1, 121, 8, 0), nullptr);
    // Drum kits of both models: programs 0-127 under LSB 0.
    for (T drums : {T::Qe4kDrums, T::Qe9zDrums})
        for (size_t p = 0; p < 128; ++p) {
            EXPECT_EQ(t.Rows(drums)[p].lsb, 0);
            EXPECT_EQ(t.Rows(drums)[p].program, p);
        }
}

TEST(QeValueHelpers, ConvertedWqSoundsAreQe4kSounds)
{
    // Every sound a Wq style's track can become names a Qe4k sound and
    // passes the check unchanged.
    const WqToQeSoundTable& map = builtInWqToQeSoundTable();
    for (uint32_t model : {'9', '<', 'H', 'I', 'M'})
        for (int kind = 0; kind <= 4; ++kind)
            for (int n = 0; n < WqToQeSoundTable::EntryCount(model, kind); ++n) {
                auto sound = map.Lookup(model, uint16_t(kind << 8 | n));
                const uint32_t address = uint32_t(sound[0]) << 24 | uint32_t(sound[1]) << 16 | sound[2];
                EXPECT_NE(GetQeSoundName(address, 0), "N/A") << char(model) << " " << kind << " " << n;
                EXPECT_EQ(ValidateQeSoundAddress(sound[0], sound[1], sound[2]), 0);
            }
}

TEST(QeValueHelpers, TheIndexFindsWhatTheRowsHold)
{
    const CQeSoundTables& t = CQeSoundTables::BuiltIn();
    for (int set : {0, 1})
        for (uint8_t msb : {uint8_t(120), uint8_t(121), uint8_t(122)})
            for (int lsb = 0; lsb < 8; ++lsb)
                for (int program = 0; program < 256; program += 3)
                    EXPECT_EQ(t.Find(set, msb, uint8_t(lsb), uint8_t(program)),
                              t.FindLinear(set, msb, uint8_t(lsb), uint8_t(program)));
}

TEST(QeValueHelpers, LoadingReportsBrokenRowsAndCounts)
{
    CQeSoundTables t;
    t.LoadText(CQeSoundTables::Table::Qe4kMelodic,
               "# comment\n121\t0\t0\tPiano\n121\t0\tx\tBad\n121\t0\t0\tTwice\n1\t2\t3\n");
    EXPECT_EQ(t.Rows(CQeSoundTables::Table::Qe4kMelodic).size(), 1u);
    // A broken line, a repeated address, a short line and the row count.
    EXPECT_EQ(t.Problems().size(), 4u);
    EXPECT_NE(t.Find(0, 121, 0, 0), nullptr);
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
