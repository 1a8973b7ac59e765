// The CASM block of Yamaha style files: the walk, its errors and texts, and
// the mapper's table and lookups.
#include "styles/CYamahaPsrCasmMapper.h"

#include "styles/ConversionLogSink.h"
#include "tests/support/PsrStyleBuilder.h"
#include "tests/support/RealFixtures.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace zib {
namespace {

using test::CsegEntry;
using test::CtabEntry;
using Bytes = std::vector<uint8_t>;

std::string errorText(CYamahaCasmParser& parser, int code)
{
    char text[128] = "unchanged";
    const int n = parser.ReportError(text, sizeof text, code);
    return n == 0 ? std::string() : std::string(text, size_t(n));
}

// The CASM chunk of a whole style file (the chunks after MThd), with its head.
Bytes casmOf(const Bytes& file)
{
    size_t at = 14;
    while (at + 8 <= file.size()) {
        const uint32_t size = uint32_t(file[at + 4]) << 24 | uint32_t(file[at + 5]) << 16 |
                              uint32_t(file[at + 6]) << 8 | file[at + 7];
        if (std::string(file.begin() + long(at), file.begin() + long(at) + 4) == "CASM" && at + 8 + size <= file.size())
            return Bytes(file.begin() + long(at), file.begin() + long(at + 8 + size));
        at += 8 + size_t(size);
    }
    return {};
}

TEST(CYamahaCasmParser, SectionNamesInTheirOrder)
{
    const char* names[] = {"Main A",  "Fill In AA", "Fill In AB", "Intro A", "Ending A", "Main B",  "Fill In BA", "Fill In BB",
                           "Intro B", "Ending B",   "Main C",     "Fill In CC", "Intro C", "Ending C", "Main D",    "Fill In DD"};
    for (int s = 0; s < 16; ++s) {
        EXPECT_STREQ(CYamahaCasmParser::SectionName(s), names[s]);
        EXPECT_EQ(CYamahaCasmParser::FindSection(names[s]), s);
    }
    EXPECT_EQ(CYamahaCasmParser::SectionName(16), nullptr);
    EXPECT_EQ(CYamahaCasmParser::FindSection("Main"), -1);
    EXPECT_EQ(CYamahaCasmParser::FindSection("Main A "), -1);
}

TEST(CYamahaPsrCasmMapper, RecordsApplyToTheSectionsOfTheirCseg)
{
    const Bytes block = test::casmBlock({
        {"Main A,Fill In AA",
         {{.source = 9, .dest = 9, .root = 0, .chordType = 2},
          {.source = 10, .dest = 10, .chordMute = test::chordMuteFor({0, 8}), .root = 14, .chordType = 40, .size = 31},
          {.source = 12, .dest = 3, .root = 5, .chordType = 8},
          {.source = 16, .dest = 11}},
         true},
        {"Main B", {{.source = 9, .dest = 8, .root = 7, .chordType = 26}}},
    });
    std::ostringstream out;
    COStreamLogSink sink(out);
    CConversionLog log(&sink);
    CYamahaPsrCasmMapper mapper;
    mapper.SetLog(&log);
    ASSERT_EQ(mapper.Parse(block.data(), block.size()), 0);
    EXPECT_TRUE(mapper.IsParsed());

    struct Case {
        int section;
        uint8_t channel;
        uint8_t dest, root, type;
    };
    const Case cases[] = {
        {0, 9, 9, 0, 2},       // Main A
        {1, 9, 9, 0, 2},       // Fill In AA: the same CSEG
        {5, 9, 8, 7, 26},      // Main B: its own CSEG
        {0, 10, 10, 0, 0},     // root 14 reads as 0, type 40 as 0
        {0, 12, 255, 5, 8},    // destination 3 is none
        {0, 11, 255, 255, 255}, // no record
        {10, 9, 255, 255, 255}, // Main C: no CSEG names it
        {0, 16, 255, 255, 255}, // channel 16 has no slot
        {0, 255, 255, 255, 255},
        {16, 9, 255, 255, 255}, // no such section
    };
    for (const Case& c : cases) {
        uint8_t dest = 0, root = 0, type = 0;
        EXPECT_EQ(mapper.GetDestChannel(c.section, c.channel, dest), 0);
        EXPECT_EQ(mapper.GetSourceRoot(c.section, c.channel, root), 0);
        EXPECT_EQ(mapper.GetSourceChordType(c.section, c.channel, type), 0);
        EXPECT_EQ(dest, c.dest) << c.section << "/" << int(c.channel);
        EXPECT_EQ(root, c.root) << c.section << "/" << int(c.channel);
        EXPECT_EQ(type, c.type) << c.section << "/" << int(c.channel);
    }
    std::array<uint8_t, 5> mute{};
    ASSERT_EQ(mapper.GetChordMute(0, 10, mute), 0);
    EXPECT_EQ(mute, test::chordMuteFor({0, 8}));

    const std::string text = out.str();
    for (const char* line : {"Found CASM chunk\n", "Found CSEG chunk\n", "Found Sdec chunk\n",
                             "\tValid style section names for this CSEG: Main A, Fill In AA, \n", "Found Ctab chunk\n",
                             "\tSourceChan: 17, DestChan: 12\n", "Found Unknown chunk (Cntt). Size: 2\n",
                             "Found valid sections: Main A, Fill In AA, Main B, \n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}

TEST(CYamahaPsrCasmMapper, ParseErrors)
{
    const Bytes good = test::casmBlock({{"Main A", {{.source = 9, .dest = 9}}}});
    Bytes truncatedCtab = good;
    truncatedCtab.resize(good.size() - 3);
    struct Case {
        const char* name;
        Bytes block;
        int code;
    };
    const Case cases[] = {
        {"first chunk is not CASM", test::fourCcChunk("CSEG", test::casmPayload({{"Main A", {}}})), 15},
        {"empty image", {}, 10},
        {"unknown section name", test::casmBlock({{"Main A,Main E", {}}}), 19},
        {"empty Sdec", test::casmBlock({{"", {}}}), 19},
        {"Ctab of 26 bytes", test::casmBlock({{"Main A", {{.source = 9, .dest = 9, .size = 26}}}}), 20},
        {"CSEG without Sdec first", test::fourCcChunk("CASM", test::fourCcChunk("CSEG", test::fourCcChunk("Ctab", Bytes(27)))),
         16},
        {"CASM inside CASM", test::fourCcChunk("CASM", test::casmBlock({})), 16},
        {"CASM longer than the data", Bytes(good.begin(), good.end() - 1), 21},
        {"chunk longer than its CSEG", test::fourCcChunk("CASM", test::fourCcChunk("CSEG", {'S', 'd', 'e', 'c', 0, 0, 0, 9})),
         21},
        {"CSEG too short for a head", test::fourCcChunk("CASM", test::fourCcChunk("CSEG", {'S', 'd'})), 10},
    };
    for (const Case& c : cases) {
        CYamahaPsrCasmMapper mapper;
        EXPECT_EQ(mapper.Parse(c.block.data(), c.block.size()), c.code) << c.name;
        EXPECT_FALSE(mapper.IsParsed()) << c.name;
        uint8_t out = 0;
        EXPECT_EQ(mapper.GetDestChannel(0, 9, out), 101) << c.name;
    }
    // Nothing of a failed parse stays behind for the next one.
    CYamahaPsrCasmMapper mapper;
    ASSERT_EQ(mapper.Parse(good.data(), good.size()), 0);
    const Bytes other = test::casmBlock({{"Main B", {{.source = 2, .dest = 10}}}});
    ASSERT_EQ(mapper.Parse(other.data(), other.size()), 0);
    uint8_t dest = 0;
    mapper.GetDestChannel(0, 9, dest);
    EXPECT_EQ(dest, 255);
}

TEST(CYamahaPsrCasmMapper, ErrorTexts)
{
    CYamahaPsrCasmMapper mapper;
    EXPECT_EQ(errorText(mapper, 0), "CYamahaCasmParser error: 0 - Success");
    EXPECT_EQ(errorText(mapper, 12), "CYamahaCasmParser error: 12 - Seek pre begining of file");
    EXPECT_EQ(errorText(mapper, 19), "CYamahaCasmParser error: 19 - Found wrong section name");
    EXPECT_EQ(errorText(mapper, 21), "CYamahaCasmParser error: 21 - Unexpected chunk size");
    EXPECT_EQ(errorText(mapper, 22), "");
    EXPECT_EQ(errorText(mapper, -1), "");
    EXPECT_EQ(errorText(mapper, 101), "CYamahaPsrCasmMapper error: 101 - CASM chunk not parsed successfully");
    EXPECT_EQ(errorText(mapper, 102), "CYamahaPsrCasmMapper error: 102 - Bad track destination channel");
    EXPECT_EQ(errorText(mapper, 103), "");
    // The plain parser knows only its own codes.
    CYamahaCasmParser parser;
    EXPECT_EQ(errorText(parser, 101), "");

    char small[12];
    EXPECT_EQ(mapper.ReportError(small, sizeof small, 15), 11);
    EXPECT_STREQ(small, "CYamahaCasm");
}

TEST(CYamahaCasmParser, ReadsANamedFile)
{
    test::TempDir dir;
    const Bytes block = test::casmBlock({{"Intro A", {{.source = 3, .dest = 12}}}});
    const auto path = dir.path() / "casm.bin";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(block.data()), std::streamsize(block.size()));

    CYamahaCasmParser parser;
    EXPECT_EQ(parser.ParseFile(path), 0);
    EXPECT_EQ(parser.ParseFile(dir.path() / "missing.bin"), 9);
}

// Every CASM block of the real styles reads whole, and every Ctab of a
// section has its record.
TEST(CYamahaPsrCasmMapper, RealStyles)
{
    const auto files = test::realFixtureFiles("psr-styles");
    if (files.empty()) GTEST_SKIP() << "no real PSR styles";
    for (const auto& path : files) {
        const Bytes block = casmOf(test::readFileBytes(path));
        ASSERT_FALSE(block.empty()) << path;
        CYamahaPsrCasmMapper mapper;
        ASSERT_EQ(mapper.Parse(block.data(), block.size()), 0) << path;
        int records = 0;
        for (int s = 0; s < 16; ++s)
            for (uint8_t ch = 0; ch < 16; ++ch) {
                uint8_t root = 0;
                mapper.GetSourceRoot(s, ch, root);
                records += root != 255;
            }
        EXPECT_GT(records, 16) << path;
    }
}

} // namespace
} // namespace zib
