// Runs the build step that compiles the text tables, as the build does.

#include "tests/support/RealFixtures.h"
#include "tests/support/BuildPaths.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>

namespace {

void writeText(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string readText(const std::filesystem::path& path)
{
    const auto bytes = zib::test::readFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

struct GeneratorRun {
    int exitCode = -1;
    std::string errors;
};

GeneratorRun runGenerator(const zib::test::TempDir& dir)
{
    const std::string command = std::string("'") + zib::test::BuildFile(ZIB_TEXTS_GEN) + "' '" + (dir / "messages.tsv").string() +
                                "' '" + (dir / "ui.tsv").string() + "' '" + (dir / "out.cpp").string() +
                                "' 2> '" + (dir / "stderr.txt").string() + "'";
    const int status = std::system(command.c_str());
    GeneratorRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.errors = readText(dir / "stderr.txt");
    return run;
}

const std::string kMessages = "number\tEnglish\tItalian\tGerman\n"
                              "9\tCannot open file\tImpossibile aprire il file\tDatei kann nicht ge\xC3\xB6"
                              "ffnet werden\n";
const std::string kUiTexts = "English\tItalian\tGerman\nCancel\tAnnulla\tAbbrechen\n";

TEST(TextTableGenerator, WritesTheTableSource)
{
    zib::test::TempDir dir;
    writeText(dir / "messages.tsv", kMessages);
    writeText(dir / "ui.tsv", kUiTexts);
    const auto run = runGenerator(dir);
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const std::string source = readText(dir / "out.cpp");
    EXPECT_NE(source.find("\"Cannot open file\"sv"), std::string::npos);
    EXPECT_NE(source.find("\"Datei kann nicht ge\\303\\266ffnet werden\"sv"), std::string::npos);
    EXPECT_NE(source.find("{{\"Cancel\"sv, \"Annulla\"sv, \"Abbrechen\"sv}}"), std::string::npos);
}

// A malformed row fails the build with its file and line, and leaves the
// previous output untouched.
TEST(TextTableGenerator, MalformedRowFailsAndKeepsTheOldOutput)
{
    struct Case {
        const char* name;
        std::string messages;
        std::string uiTexts;
        const char* error;
    };
    const Case cases[] = {
        {"message row with three columns", kMessages + "10\tCannot reposition inside file\tImpossibile\n",
         kUiTexts, "messages.tsv:3: error: expected 4 tab-separated columns"},
        {"ui row with two columns", kMessages, kUiTexts + "Open\tApri\n",
         "ui.tsv:3: error: expected 3 tab-separated columns"},
    };
    for (const auto& c : cases) {
        zib::test::TempDir dir;
        writeText(dir / "messages.tsv", c.messages);
        writeText(dir / "ui.tsv", c.uiTexts);
        writeText(dir / "out.cpp", "previous output");
        const auto run = runGenerator(dir);
        EXPECT_NE(run.exitCode, 0) << c.name;
        EXPECT_NE(run.errors.find(c.error), std::string::npos) << c.name << ": " << run.errors;
        EXPECT_EQ(readText(dir / "out.cpp"), "previous output") << c.name;
    }
}

TEST(TextTableGenerator, MissingInputFails)
{
    zib::test::TempDir dir;
    writeText(dir / "ui.tsv", kUiTexts);
    const auto run = runGenerator(dir);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.errors.find("messages.tsv: error: cannot read the file"), std::string::npos) << run.errors;
    EXPECT_FALSE(std::filesystem::exists(dir / "out.cpp"));
}

} // namespace
