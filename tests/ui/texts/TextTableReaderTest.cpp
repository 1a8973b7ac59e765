#include "ui/texts/TextTableReader.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace zib::texts {
namespace {

const std::string kMessageHeader = "number\tEnglish\tItalian\tGerman\n";
const std::string kUiHeader = "English\tItalian\tGerman\n";

TEST(TextTableReader, ReadsMessageRowsWithCommentsEscapesAndLineEnds)
{
    const std::string content = "\xEF\xBB\xBF# comment\r\n" + kMessageHeader +
                                "\n"
                                "2\tMemory allocation failed!\tAllocazione non riuscita!\tSpeicher voll!\r\n"
                                "# another comment\n"
                                "120\tTab\\there, line\\nbreak, back\\\\slash \tB\\n\tC \xC3\xB6";
    const auto read = readMessageTable(content, "m.tsv");
    ASSERT_TRUE(read.ok()) << read.errors.front();
    ASSERT_EQ(read.rows.size(), 2u);
    EXPECT_EQ(read.rows[0].number, 2);
    EXPECT_EQ(read.rows[0].line, 4);
    EXPECT_EQ(read.rows[0].texts[0], "Memory allocation failed!");
    EXPECT_EQ(read.rows[0].texts[2], "Speicher voll!");
    EXPECT_EQ(read.rows[1].number, 120);
    EXPECT_EQ(read.rows[1].line, 6);
    EXPECT_EQ(read.rows[1].texts[0], "Tab\there, line\nbreak, back\\slash ") << "trailing space kept";
    EXPECT_EQ(read.rows[1].texts[1], "B\n");
    EXPECT_EQ(read.rows[1].texts[2], "C \xC3\xB6");
}

TEST(TextTableReader, ReadsUiRows)
{
    const auto read = readUiTextTable(kUiHeader + "&New\\tCtrl+N\t&Nuovo\\tCtrl+N\t&Neu\\tCtrl+N\n", "u.tsv");
    ASSERT_TRUE(read.ok());
    ASSERT_EQ(read.rows.size(), 1u);
    EXPECT_EQ(read.rows[0].texts[0], "&New\tCtrl+N");
    EXPECT_EQ(read.rows[0].texts[1], "&Nuovo\tCtrl+N");
    EXPECT_EQ(read.rows[0].line, 2);
}

struct BadTable {
    const char* name;
    std::string row;   // follows the header, so it is line 2
    const char* error; // expected report
};

const BadTable kBadMessageRows[] = {
    {"too few columns", "5\tText\tTesto",
     "m.tsv:2: error: expected 4 tab-separated columns (number, English, Italian, German), found 3"},
    {"too many columns", "5\tText\tTesto\tText\tExtra",
     "m.tsv:2: error: expected 4 tab-separated columns (number, English, Italian, German), found 5"},
    {"spaces instead of tabs", "5 Text Testo Text", "found 1"},
    {"empty Italian", "5\tText\t\tText", "m.tsv:2: error: Italian column: empty text"},
    {"empty German at the end", "5\tText\tTesto\t", "m.tsv:2: error: German column: empty text"},
    {"number not a number", "x\tText\tTesto\tText",
     "m.tsv:2: error: message number \"x\" is not a number from 0 to 120"},
    {"number too large", "121\tText\tTesto\tText", "message number \"121\" is not a number from 0 to 120"},
    {"number negative", "-1\tText\tTesto\tText", "message number \"-1\" is not"},
    {"number with sign", "+5\tText\tTesto\tText", "message number \"+5\" is not"},
    {"number with space", "5 \tText\tTesto\tText", "message number \"5 \" is not"},
    {"number too long", "0005\tText\tTesto\tText", "message number \"0005\" is not"},
    {"unknown escape", "5\tC:\\path\tTesto\tText", "m.tsv:2: error: English column: unknown escape \\p"},
    {"lone backslash", "5\tText\tTesto\tText\\", "German column: a lone backslash at the end of a column"},
    {"not UTF-8",
     "5\tText\tTesto\tGr\xF6\xDF"
     "e",
     "German column: bytes that are not UTF-8"},
    {"overlong UTF-8", "5\tText\t\xC0\x80\tText", "Italian column: bytes that are not UTF-8"},
    {"UTF-8 surrogate", "5\tText\t\xED\xA0\x80\tText", "Italian column: bytes that are not UTF-8"},
    {"truncated UTF-8", "5\tText\tTesto\tText\xC3", "German column: bytes that are not UTF-8"},
    {"carriage return inside", "5\tTe\rxt\tTesto\tText", "English column: control character 0x0D"},
    {"other control character", "5\tText\tTe\x01sto\tText", "Italian column: control character 0x01"},
};

TEST(TextTableReader, RejectsMalformedMessageRows)
{
    for (const auto& bad : kBadMessageRows) {
        const auto read = readMessageTable(kMessageHeader + bad.row + "\n", "m.tsv");
        EXPECT_FALSE(read.ok()) << bad.name;
        ASSERT_EQ(read.errors.size(), 1u) << bad.name;
        EXPECT_NE(read.errors[0].find(bad.error), std::string::npos) << bad.name << ": " << read.errors[0];
        EXPECT_TRUE(read.rows.empty()) << bad.name;
    }
}

TEST(TextTableReader, RejectsARepeatedMessageNumber)
{
    const auto read = readMessageTable(kMessageHeader + "7\tA\tB\tC\n8\tD\tE\tF\n7\tG\tH\tI\n", "m.tsv");
    ASSERT_EQ(read.errors.size(), 1u);
    EXPECT_EQ(read.errors[0], "m.tsv:4: error: message 7 is already defined on line 2");
}

TEST(TextTableReader, RejectsARepeatedUiKey)
{
    const auto read = readUiTextTable(kUiHeader + "Open\tApri\t\xC3\x96"
                                                  "ffnen\nOpen\tApri\tOeffnen\n",
                                      "u.tsv");
    ASSERT_EQ(read.errors.size(), 1u);
    EXPECT_EQ(read.errors[0], "u.tsv:3: error: the English text \"Open\" is already defined on line 2");
}

TEST(TextTableReader, RejectsAUiRowWithTheWrongNumberOfColumns)
{
    const auto read = readUiTextTable(kUiHeader + "Open\tApri\n", "u.tsv");
    ASSERT_EQ(read.errors.size(), 1u);
    EXPECT_EQ(read.errors[0],
              "u.tsv:2: error: expected 3 tab-separated columns (English, Italian, German), found 2");
}

TEST(TextTableReader, ReportsEveryBadRow)
{
    const auto read = readMessageTable(kMessageHeader + "2\tA\tB\n3\tA\tB\tC\n4\tA\n", "m.tsv");
    ASSERT_EQ(read.errors.size(), 2u);
    EXPECT_NE(read.errors[0].find("m.tsv:2:"), std::string::npos);
    EXPECT_NE(read.errors[1].find("m.tsv:4:"), std::string::npos);
    EXPECT_FALSE(read.ok());
}

TEST(TextTableReader, RejectsAMissingOrWrongHeader)
{
    struct Case {
        const char* name;
        std::string content;
        const char* error;
    };
    const Case cases[] = {
        {"empty file", "", "m.tsv:1: error: no header line"},
        {"comments only", "# a\n# b\n", "m.tsv:2: error: no header line"},
        {"columns swapped", "number\tEnglish\tGerman\tItalian\n2\tA\tB\tC\n",
         "m.tsv:1: error: the header must be the columns number|English|Italian|German"},
        {"header missing", "2\tA\tB\tC\n", "m.tsv:1: error: the header must be"},
    };
    for (const auto& c : cases) {
        const auto read = readMessageTable(c.content, "m.tsv");
        ASSERT_EQ(read.errors.size(), 1u) << c.name;
        EXPECT_NE(read.errors[0].find(c.error), std::string::npos) << c.name << ": " << read.errors[0];
    }
}

} // namespace
} // namespace zib::texts
