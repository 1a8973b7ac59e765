#include "zibtbl/TensionPair.h"
#include "zibtbl/TensionTables.h"
#include "zibtbl/ZibTbl.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using zib::tbl::TensionPair;

namespace {

// The ten tables by their selectors, with the values each may hold.
struct TableCase {
    const char* name;
    bool qe;
    std::uint8_t tensionFlag;
    int selector; // nttMode (Qe) or sourceKind (Wq)
    int plainMin;
    int plainMax;
    bool holdsPairs;
};

const TableCase kTables[] = {
    {"Table1", false, 1, 0, -10, 9, true}, {"Table2", false, 0, 0, -2, 2, false},
    {"Table3", false, 1, 1, -10, 9, true}, {"Table4", false, 0, 1, -2, 2, false},
    {"Table5", true, 0, 1, -3, 4, false},  {"Table6", true, 1, 1, -10, 9, true},
    {"Table7", true, 0, 2, -3, 4, false},  {"Table8", true, 1, 2, -10, 9, true},
    {"Table9", true, 0, 0, -3, 4, false},  {"Table10", true, 1, 0, -10, 9, true},
};

// Empty when the value may stand in the table, else why not.
std::string checkValue(const TableCase& t, std::int32_t v)
{
    if (!TensionPair::isPacked(v)) {
        if (v < t.plainMin || v > t.plainMax) return "offset out of range";
        return {};
    }
    if (!t.holdsPairs) return "packed pair in a table without tensions";
    const auto bits = std::uint32_t(v);
    const unsigned second = bits & 0xFF, secondUp = (bits >> 8) & 0xFF;
    const unsigned first = (bits >> 16) & 0xFF, firstUp = bits >> 24;
    if (secondUp != 1) return "second note not upward";
    if (second < 1 || second > 16) return "second magnitude outside 1-16";
    if (first > 9) return "first magnitude outside 0-9";
    if (firstUp > 1) return "first direction byte not 0 or 1";
    return {};
}

class TableRanges : public testing::TestWithParam<TableCase> {};

TEST_P(TableRanges, EveryEntryLiesInItsRange)
{
    const TableCase& t = GetParam();
    const int sources = t.qe ? zib::tbl::kChordTypeCount : 1;
    std::size_t bad = 0, pairs = 0, entries = 0;
    std::ostringstream firstBad;
    for (int s = 0; s < sources; ++s)
        for (int c = 0; c < zib::tbl::kChordTypeCount; ++c)
            for (int x = 0; x < zib::tbl::kChordTensionCount; ++x)
                for (int i = 0; i < zib::tbl::kIntervalCount; ++i) {
                    const std::int32_t v =
                        t.qe ? GetQeTension(t.tensionFlag, std::uint8_t(t.selector), s, std::uint8_t(c), x, i)
                             : GetWqSeriesTension(t.tensionFlag, t.selector, std::uint8_t(c), x, i);
                    ++entries;
                    pairs += TensionPair::isPacked(v);
                    const std::string why = checkValue(t, v);
                    if (!why.empty() && bad++ == 0)
                        firstBad << why << ": source " << s << " chord " << c << " tension " << x
                                 << " interval " << i << " value " << v;
                }
    EXPECT_EQ(entries, t.qe ? zib::tbl::kQeTableEntries : zib::tbl::kWqTableEntries);
    EXPECT_EQ(bad, 0u) << firstBad.str();
    if (t.holdsPairs) {
        EXPECT_GT(pairs, 0u) << "a tension table turns some notes into two";
    }
}

INSTANTIATE_TEST_SUITE_P(ZibTbl, TableRanges, testing::ValuesIn(kTables),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
