#include "styles/WqToQeSoundTable.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

using Sound = WqToQeSoundTable::Sound;

TEST(WqToQeSoundTable, HasATableOfTheFixedSizePerModelAndBankKind)
{
    struct Case {
        char model;
        std::array<int, 5> counts;
    };
    for (const Case& c : {Case{'9', {128, 128, 8, 0, 0}}, Case{'<', {128, 128, 16, 128, 0}},
                          Case{'H', {128, 128, 28, 128, 0}}, Case{'I', {128, 128, 64, 128, 40}},
                          Case{'M', {128, 128, 64, 64, 16}}, Case{'F', {0, 0, 0, 0, 0}}})
        for (int kind = 0; kind < 5; ++kind)
            EXPECT_EQ(WqToQeSoundTable::EntryCount(uint8_t(c.model), kind), c.counts[size_t(kind)])
                << c.model << " kind " << kind;
    EXPECT_EQ(WqToQeSoundTable::EntryCount('9', 5), 0);
}

TEST(WqToQeSoundTable, TheProgramsTableFillsEveryEntry)
{
    const WqToQeSoundTable& table = builtInWqToQeSoundTable();
    EXPECT_TRUE(table.Problems().empty()) << table.Problems().front();

    struct Case {
        char model;
        uint16_t word;
        Sound sound;
    };
    const std::vector<Case> cases = {
        {'9', 0x0000, {121, 0, 0}},   {'9', 0x007F, {121, 0, 127}}, {'9', 0x0140, {121, 1, 64}},
        {'9', 0x0202, {120, 0, 25}},  {'<', 0x0209, {120, 0, 48}},  {'H', 0x0213, {120, 0, 65}},
        {'I', 0x023F, {121, 2, 63}},  {'M', 0x033F, {121, 3, 63}},  {'I', 0x037F, {121, 3, 127}},
        {'M', 0x040C, {120, 0, 116}}, {'I', 0x041E, {120, 0, 50}},
        // Beyond a table, no table, or no such kind
        {'9', 0x0208, {120, 0, 0}},   {'<', 0x0210, {120, 0, 0}},   {'H', 0x021C, {120, 0, 0}},
        {'I', 0x0240, {121, 0, 0}},   {'M', 0x0240, {121, 0, 0}},   {'M', 0x0340, {121, 0, 0}},
        {'9', 0x0300, {121, 0, 0}},   {'H', 0x0400, {121, 0, 0}},   {'I', 0x0428, {121, 0, 0}},
        {'M', 0x0410, {121, 0, 0}},   {'9', 0x0080, {121, 0, 0}},   {'M', 0x0500, {121, 0, 0}},
        {'I', 0xFF00, {121, 0, 0}},   {'F', 0x0001, {121, 0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(table.Lookup(uint8_t(c.model), c.word), c.sound) << c.model << " " << std::hex << c.word;
}

TEST(WqToQeSoundTable, ReportsLinesItCannotUseAndEntriesNoLineFilled)
{
    WqToQeSoundTable table;
    table.LoadText("# comment\n"
                   "9\t0\t0\t127\t121\t0\t0\n"
                   "9 2 0 7 120 0 0\r\n"
                   "9\t2\t0\t8\t120\t0\t0\n"   // beyond the table
                   "9\t0\t0\t1\t128\t0\t0\n"   // value above 127
                   "9\t0\t100\t127\t121\t0\t120\n" // programs run past 127
                   "X\t0\t0\t1\t121\t0\t0\n"
                   "9\t0\t0\n"
                   "9\tA\t0\t1\t121\t0\t0\n");
    EXPECT_EQ(table.Problems().size(), 6u);
    EXPECT_EQ(table.Lookup('9', 0x0005), (Sound{121, 0, 5}));
    EXPECT_EQ(table.Lookup('9', 0x0203), (Sound{120, 0, 3})); // the programs of a range count up
    table.ReportMissingEntries();
    const size_t entries = 264 + 400 + 412 + 488 + 400;
    EXPECT_EQ(table.Problems().size(), 6u + entries - 136);
    EXPECT_EQ(table.Lookup('9', 0x0105), WqToQeSoundTable::kUnknownSound);

    const WqToQeSoundTable absent = WqToQeSoundTable::LoadFile("/nonexistent/wq-qe-sounds.tsv");
    EXPECT_EQ(absent.Problems().size(), 1u + entries);
}

} // namespace
} // namespace zib
