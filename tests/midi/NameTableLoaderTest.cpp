#include "midi/NameTableLoader.h"
#include "midi/ProgramNames.h"
#include "platform/FileIo.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zib;
using Kind = NameTableLoader::FileKind;

namespace {

bool anyProblemContains(const NameTables& tables, const std::string& part)
{
    for (const auto& p : tables.problems())
        if (p.find(part) != std::string::npos) return true;
    return false;
}

StyleDocumentNames modelDocument(int model)
{
    StyleDocumentNames doc;
    doc.model = model;
    return doc;
}

} // namespace

TEST(NameTableLoader, ReadsEntriesSkippingCommentsAndBlankLines)
{
    NameTables t;
    NameTableLoader::loadText(Kind::ProgramBanks,
                              "\xEF\xBB\xBF# comment after a byte-order mark\n"
                              "\n"
                              "9\tA\t0\tA11  Piano\r\n" // CRLF files are fine
                              "M\tKit\t15\tDr28  User 2\n"
                              "I\tD\t63\tD88 Solo Wahfeedback", // no final newline
                              t);
    NameTableLoader::loadText(Kind::Multisamples, "H\t342\tLast One\n", t);
    NameTableLoader::loadText(Kind::StyleNames, "<\t71\tTechno\n", t);
    NameTableLoader::loadText(Kind::ProgramMaps, "9\tM\t0x0100\tC11\t514\tE13\n", t);
    EXPECT_TRUE(t.problems().empty());
    EXPECT_EQ(t.entry(57, NameTable::BankA, 0).value_or(""), "A11  Piano");
    EXPECT_EQ(t.entry(77, NameTable::DrumKits, 15).value_or(""), "Dr28  User 2");
    EXPECT_EQ(t.entry(73, NameTable::BankD, 63).value_or(""), "D88 Solo Wahfeedback");
    EXPECT_EQ(t.entry(72, NameTable::Multisamples, 342).value_or(""), "Last One");
    EXPECT_EQ(t.entry(60, NameTable::StyleNames, 71).value_or(""), "Techno");
    ASSERT_EQ(t.programMap(57, 77).size(), 1u);
    EXPECT_EQ(t.programMap(57, 77)[0].target, 0x0202);
    EXPECT_EQ(GetItemProgramName(modelDocument(57), 0x0000, t), "A11  Piano");
    EXPECT_EQ(GetItemProgramName(modelDocument(57), 0x0001, t), "???");
}

// Each damaged line is reported with its number and skipped; the good lines around it load.
TEST(NameTableLoader, ReportsAndSkipsDamagedLines)
{
    struct BadLine {
        Kind kind;
        const char* line;
        const char* reason;
    };
    const std::vector<BadLine> cases = {
        {Kind::ProgramBanks, "9\tA\t0", "expected 4 tab-separated fields, found 3"},
        {Kind::ProgramBanks, "9\tA\t0\tA11 x\textra", "found 5"},
        {Kind::ProgramBanks, "Q\tA\t0\tA11 x", "unknown model \"Q\""},
        {Kind::ProgramBanks, "F\tA\t0\tA11 x", "unknown model \"F\""}, // a Qe model has no tables
        {Kind::ProgramBanks, "9\tZ\t0\tZ11 x", "unknown bank \"Z\""},
        {Kind::ProgramBanks, "9\tD\t0\tD11 x", "model 9 has no bank D"},
        {Kind::ProgramBanks, "9\tA\t64\tA99 x", "index \"64\" is not a number from 0 to 63"},
        {Kind::ProgramBanks, "9\tA\t-1\tx", "index \"-1\""},
        {Kind::ProgramBanks, "9\tA\t1x\tx", "index \"1x\""},
        {Kind::ProgramBanks, "9\tKit\t8\tDr9  x", "index \"8\" is not a number from 0 to 7"},
        {Kind::ProgramBanks, "9\tA\t0\t", "the name is empty"},
        {Kind::ProgramBanks, "9\tA\t0\tA11  123456789012345", "longer than 19 characters"},
        {Kind::ProgramBanks, "M\tKit\t0\tDr11  12345678901234567", "longer than 21 characters"},
        {Kind::ProgramBanks, "9\tA\t0\tbad \xff utf-8", "is not UTF-8 text that Windows-1252 can store"},
        {Kind::ProgramBanks, "9\tA\t0\t\xe6\x97\xa5 sun", "is not UTF-8 text that Windows-1252 can store"},
        {Kind::ProgramBanks, "9\tA\t0\tbell\x07", "holds a control character"},
        {Kind::Multisamples, "9\t341\tOne Too Many", "index \"341\" is not a number from 0 to 340"},
        {Kind::Multisamples, "9\t0\t12345678901234567", "longer than 16 characters"},
        {Kind::StyleNames, "9\t0\tElevenChars", "longer than 10 characters"},
        {Kind::ProgramMaps, "9\tM\t0x100\tC11\t0x202", "expected 6 tab-separated fields"},
        {Kind::ProgramMaps, "I\t9\t0x100\tC11\t0x202\tE13", "there is no mapping table from I to 9"},
        {Kind::ProgramMaps, "<\tH\t0x100\tC11\t0x202\tE13", "there is no mapping table from < to H"},
        {Kind::ProgramMaps, "9\tX\t0x100\tC11\t0x202\tE13", "unknown model"},
        {Kind::ProgramMaps, "9\tM\t0x10000\tC11\t0x202\tE13", "program numbers must lie in 0-0xFFFF"},
        {Kind::ProgramMaps, "9\tM\t0x\tC11\t0x202\tE13", "program numbers must lie in 0-0xFFFF"},
        {Kind::ProgramMaps, "9\tM\t0x100\tC11xxx\t0x202\tE13", "source position is longer than 5 characters"},
        {Kind::ProgramMaps, "9\tM\t0x100\tC11\t0x202\t", "target position is empty"},
    };
    for (const auto& c : cases) {
        NameTables t;
        std::string text = "# head\n" + std::string(c.line) + "\n";
        // A good line after the bad one still loads.
        text += c.kind == Kind::ProgramBanks   ? "9\tB\t0\tB11  Good\n"
                : c.kind == Kind::Multisamples ? "9\t1\tGood\n"
                : c.kind == Kind::StyleNames   ? "9\t1\tGood\n"
                                               : "9\tM\t0x101\tC12\t0x203\tE14\n";
        NameTableLoader::loadText(c.kind, text, t);
        ASSERT_EQ(t.problems().size(), 1u) << c.line;
        EXPECT_NE(t.problems()[0].find(std::string(NameTableLoader::fileName(c.kind)) + " line 2: "),
                  std::string::npos)
            << t.problems()[0];
        EXPECT_NE(t.problems()[0].find(c.reason), std::string::npos) << t.problems()[0];
        bool goodLoaded = c.kind == Kind::ProgramBanks   ? t.entry(57, NameTable::BankB, 0).has_value()
                          : c.kind == Kind::Multisamples ? t.entry(57, NameTable::Multisamples, 1).has_value()
                          : c.kind == Kind::StyleNames   ? t.entry(57, NameTable::StyleNames, 1).has_value()
                                                         : t.programMap(57, 77).size() == 1;
        EXPECT_TRUE(goodLoaded) << c.line;
    }
}

TEST(NameTableLoader, KeepsTheFirstOfTwoEntries)
{
    NameTables t;
    NameTableLoader::loadText(Kind::StyleNames, "9\t0\tFirst\n9\t0\tSecond\n", t);
    EXPECT_EQ(t.entry(57, NameTable::StyleNames, 0).value_or(""), "First");
    ASSERT_EQ(t.problems().size(), 1u);
    EXPECT_NE(t.problems()[0].find("line 2: model 9 style names entry 0 is given twice"), std::string::npos);
}

TEST(NameTableLoader, StoresNamesAsWindows1252)
{
    NameTables t;
    // "Café €5" in UTF-8 becomes one byte per character.
    NameTableLoader::loadText(Kind::Multisamples,
                              "M\t0\tCaf\xc3\xa9 \xe2\x82\xac"
                              "5\n",
                              t);
    EXPECT_TRUE(t.problems().empty());
    EXPECT_EQ(t.entry(77, NameTable::Multisamples, 0).value_or(""), "Caf\xe9 \x80"
                                                                    "5");
    // The width counts those single bytes: 16 accented letters fit.
    std::string sixteen;
    for (int i = 0; i < 16; ++i)
        sixteen += "\xc3\xa9";
    NameTableLoader::loadText(Kind::Multisamples, "M\t1\t" + sixteen + "\n", t);
    EXPECT_TRUE(t.problems().empty());
    EXPECT_EQ(t.entry(77, NameTable::Multisamples, 1)->size(), 16u);
}

TEST(NameTableLoader, MissingFolderLeavesEveryLookupNotFound)
{
    test::TempDir dir;
    NameTables t = NameTableLoader::loadFolder(dir / "absent");
    ASSERT_EQ(t.problems().size(), 4u);
    for (const char* file : {"program-banks.tsv", "multisamples.tsv", "style-names.tsv", "program-maps.tsv"})
        EXPECT_TRUE(anyProblemContains(t, std::string("cannot read ") + (dir / "absent" / file).string()))
            << file;
    EXPECT_EQ(GetProgramName(57, 0, t), "???");
    EXPECT_EQ(GetDrumKitName(77, 0, t), "???");
    EXPECT_EQ(GetItemProgramName(modelDocument(77), 0x0000, t), "???");
    EXPECT_EQ(GetBankedProgramName(57, 0x0100, t), "???");
    EXPECT_EQ(MapProgramNumber(60, 77, 0x0100, t), 0x0100);
}

TEST(NameTableLoader, ReplacementFolderAndItsGaps)
{
    test::TempDir dir;
    ASSERT_EQ(writeFileAtomically(dir / "style-names.tsv", std::string_view("9\t0\tMy Style\n")),
              FileIoError::None);
    ASSERT_EQ(
        writeFileAtomically(dir / "program-maps.tsv", std::string_view("9\tM\t0x0100\tC11\t0x0400\tDr11\n")),
        FileIoError::None);
    // A file beyond the size limit is not read at all.
    ASSERT_EQ(writeFileAtomically(dir / "multisamples.tsv", std::string(5u << 20, '#')), FileIoError::None);
    NameTables t = NameTableLoader::loadFolder(dir.path());

    EXPECT_EQ(t.entry(57, NameTable::StyleNames, 0).value_or(""), "My Style");
    EXPECT_EQ(MapProgramNumber(57, 77, 0x0100, t), 0x0400);
    EXPECT_EQ(MapProgramNumber(77, 57, 0x0400, t), 0x0100);

    EXPECT_TRUE(anyProblemContains(t, "program-banks.tsv"));
    EXPECT_TRUE(anyProblemContains(t, "multisamples.tsv (file too large)"));
    EXPECT_TRUE(anyProblemContains(
        t, "style-names.tsv: model 9 style names: 47 of 48 entries missing, the first is 1"));
    EXPECT_TRUE(anyProblemContains(t, "style-names.tsv: model M style names: 128 of 128 entries missing"));
    EXPECT_TRUE(anyProblemContains(t, "program-maps.tsv: no rows map model 9 to model I"));
    EXPECT_FALSE(anyProblemContains(t, "no rows map model 9 to model M"));
}
