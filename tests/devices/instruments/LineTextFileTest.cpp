// The line reader under the instrument and relation files.
#include "devices/core/CLineTextFile.h"

#include "tests/support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zib {
namespace {

// Every line of `text` until the reader stops, and the result it stopped with.
std::pair<std::vector<std::string>, InsFileResult> readAll(const std::string& text)
{
    CLineTextFile file;
    file.OpenText(text);
    std::vector<std::string> lines;
    for (;;) {
        const InsFileResult r = file.ReadLine();
        if (r != InsFileResult::Ok) return {lines, r};
        lines.push_back(file.CurrentLine());
    }
}

TEST(LineTextFile, ReadsLinesWithoutTheirEnds)
{
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"empty file", "", {}},
        {"CR LF ends", "one\r\ntwo\r\n", {"one", "two"}},
        {"last line without LF", "one\ntwo", {"one", "two"}},
        {"blank lines in the middle", "a\n\n\r\nb\r\n", {"a", "", "", "b"}},
        {"only a CR is removed", "a\r\r\nb\rc\n", {"a\r", "b\rc"}},
        {"a line feed alone", "\n", {""}},
    };
    for (const auto& c : cases) {
        auto [lines, result] = readAll(c.text);
        EXPECT_EQ(lines, c.lines) << c.what;
        EXPECT_EQ(result, InsFileResult::EndOfFile) << c.what;
    }
}

TEST(LineTextFile, CutsLinesLongerThan255CharactersAndGoesOn)
{
    const std::string longest(255, 'x');
    auto [lines, result] = readAll(longest + "\r\n" + std::string(256, 'y') + "z\nlast\n");
    EXPECT_EQ(lines, (std::vector<std::string>{longest, std::string(255, 'y'), "last"}));
    EXPECT_EQ(result, InsFileResult::EndOfFile);

    // Carriage returns alone end no line: the whole file is one cut line.
    std::string crOnly;
    for (int i = 0; i < 100; ++i)
        crOnly += "12=Name\r";
    auto [one, end] = readAll(crOnly);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0], crOnly.substr(0, 255));
    EXPECT_EQ(end, InsFileResult::EndOfFile);

    // NUL bytes are bytes like any other.
    auto [nul, nulEnd] = readAll(std::string("a\0b\n\0\n", 6));
    EXPECT_EQ(nul, (std::vector<std::string>{std::string("a\0b", 3), std::string(1, '\0')}));
    EXPECT_EQ(nulEnd, InsFileResult::EndOfFile);
}

TEST(LineTextFile, OpensMeasuresRewindsAndCloses)
{
    test::TempDir dir;
    CLineTextFile file;
    EXPECT_EQ(file.Open(dir / "missing.ins"), InsFileResult::CannotOpen);
    EXPECT_EQ(file.ReadLine(), InsFileResult::EndOfFile);

    std::ofstream(dir / "two.ins", std::ios::binary) << "first\r\nsecond\r\n";
    ASSERT_EQ(file.Open(dir / "two.ins"), InsFileResult::Ok);
    EXPECT_EQ(file.FileSize(), 15);
    ASSERT_EQ(file.ReadLine(), InsFileResult::Ok);
    ASSERT_EQ(file.ReadLine(), InsFileResult::Ok);
    EXPECT_EQ(file.CurrentLine(), "second");
    EXPECT_EQ(file.ReadLine(), InsFileResult::EndOfFile);
    ASSERT_EQ(file.Rewind(), InsFileResult::Ok);
    ASSERT_EQ(file.ReadLine(), InsFileResult::Ok);
    EXPECT_EQ(file.CurrentLine(), "first");
    EXPECT_EQ(file.Close(), InsFileResult::Ok);
    EXPECT_EQ(file.ReadLine(), InsFileResult::EndOfFile);
    EXPECT_EQ(file.Rewind(), InsFileResult::SeekFailed);

    // A folder is not a file to read.
    EXPECT_NE(file.Open(dir.path()), InsFileResult::Ok);
}

TEST(LineTextFile, EveryResultHasAText)
{
    for (auto r : {InsFileResult::CannotOpen, InsFileResult::EndOfFile, InsFileResult::SeekFailed,
                   InsFileResult::CannotMeasureSize, InsFileResult::ReadFailed, InsFileResult::FileTooLarge})
        EXPECT_STRNE(InsFileResultText(r), "") << int(r);
    EXPECT_EQ(int(InsFileResult::CannotOpen), 4);
    EXPECT_EQ(int(InsFileResult::EndOfFile), 5);
    EXPECT_EQ(int(InsFileResult::SeekFailed), 8);
    EXPECT_EQ(int(InsFileResult::CannotMeasureSize), 10);
}

} // namespace
} // namespace zib
