#include "ui/core/CommandFileReader.h"
#include "ui/core/FileFilters.h"
#include "ui/core/FormatText.h"
#include "ui/core/PsrConversionOutput.h"
#include "ui/core/ViewerText.h"
#include "platform/ByteCursor.h"
#include "platform/FileIo.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace zib;

TEST(CommandFileReader, ReadsWholeFilesAndNamesTheFailingStep)
{
    test::TempDir dir;
    const std::vector<uint8_t> bytes = {1, 2, 3, 0, 255};
    ASSERT_EQ(writeFileAtomically(dir / "a.sty", bytes), FileIoError::None);
    ASSERT_EQ(writeFileAtomically(dir / "empty.sty", std::string_view()), FileIoError::None);

    CommandFile f = ReadFileForCommand(dir / "a.sty");
    EXPECT_TRUE(f.ok());
    EXPECT_EQ(f.bytes, bytes);
    EXPECT_TRUE(ReadFileForCommand(dir / "empty.sty").ok());
    EXPECT_EQ(ReadFileForCommand(dir / "missing.sty").message, 9);
    EXPECT_EQ(ReadFileForCommand(dir.path()).message, 9);       // a folder is no file
    EXPECT_EQ(ReadFileForCommand(dir / "a.sty", 4).message, 2); // too large to hold
    EXPECT_TRUE(ReadFileForCommand(dir / "missing.sty").bytes.empty());
}

TEST(PsrConversionOutput, OutputNames)
{
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"Test.PCS", "YD_Test.STY"}, {"Test.prs", "YD_Test.STY"}, {"a.b.Sst", "YD_a.b.STY"},
        {"x.BCS", "YD_x.STY"},       {"Test.sty", "YD_Test.sty"}, {"Rock.sty", "YD_Rock.sty"},
        {"Noext", "YD_Noext"},       {"x.pcsx", "YD_x.pcsx"},     {"x.", "YD_x."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PsrOutputName(c.in), c.out) << c.in;
}

TEST(PsrConversionOutput, ContainerLayoutForAThousandByteResource)
{
    std::vector<uint8_t> resource(1000);
    for (size_t i = 0; i < resource.size(); ++i)
        resource[i] = uint8_t(i * 7);
    auto name = StyleNameField("Mix/Pop:Rock");
    auto image = SingleResourceContainer(name, resource);
    ASSERT_EQ(image.size(), 1096u);

    ByteCursor c(image.data(), image.size());
    EXPECT_EQ(c.u32be(), 0x01000114u);
    EXPECT_EQ(c.u32be(), 0x440u); // 1088: S + 88
    EXPECT_EQ(c.u32be(), 0x02000018u);
    EXPECT_EQ(c.u32be(), 12u);
    const uint8_t version[12] = {0x0B, 0, 0, 0, 0, 0, 0, 'D', 'A', 'S', 'F', 0};
    EXPECT_TRUE(std::equal(version, version + 12, c.bytes(12).begin()));
    EXPECT_EQ(c.u32be(), 0x05000018u);
    EXPECT_EQ(c.u32be(), 24u);
    EXPECT_EQ(c.text(16), std::string("Mix_Pop_Rock\0\0\0\0", 16));
    EXPECT_EQ(c.u16be(), 0u);
    EXPECT_EQ(c.u32be(), 0x02000000u);
    EXPECT_EQ(c.u16be(), 0u);
    EXPECT_EQ(c.pos(), 60u);
    EXPECT_EQ(c.u32be(), 0x06000110u);
    EXPECT_EQ(c.u32be(), 1000u);
    auto payload = c.bytes(1000);
    EXPECT_TRUE(std::equal(payload.begin(), payload.end(), resource.begin()));
    EXPECT_EQ(c.u32be(), 0xFE000018u);
    EXPECT_EQ(c.u32be(), 20u);
    EXPECT_EQ(c.text(4), "DBEG");
    EXPECT_EQ(c.u32be(), 28u);
    EXPECT_EQ(c.u32be(), 60u);
    EXPECT_EQ(c.text(4), "DEND");
    EXPECT_EQ(c.u32be(), 2u);
    EXPECT_TRUE(c.atEnd());
    EXPECT_TRUE(c.ok());
}

TEST(PsrConversionOutput, NameFieldIsCleanedWithinItsSixteenBytes)
{
    // Sixteen characters and no terminator: exactly the field is cleaned.
    std::array<uint8_t, 16> name;
    const char* text = "ab.cd\x01\xE9gh*ijklmn";
    std::copy(text, text + 16, name.begin());
    auto image = SingleResourceContainer(name, {});
    ASSERT_EQ(image.size(), 96u);
    EXPECT_EQ(std::string(image.begin() + 36, image.begin() + 52), "ab_cd__gh_ijklmn");
    EXPECT_EQ(image[52], 0);
    EXPECT_EQ(image[4] << 24 | image[5] << 16 | image[6] << 8 | image[7], 88);
    // Longer texts are cut to the field.
    EXPECT_EQ(StyleNameField("0123456789abcdefXYZ")[15], 'f');
}

TEST(ViewerText, ShowsTheFileAsTextUpToAZeroByte)
{
    test::TempDir dir;
    writeFileAtomically(dir / "log.txt", std::string_view("line 1\nCaf\xE9\n"));
    writeFileAtomically(dir / "empty.txt", std::string_view());
    writeFileAtomically(dir / "nul.txt", std::string_view("ab\0cd", 5));
    EXPECT_EQ(ReadViewerText(dir / "log.txt"), "line 1\nCaf\xC3\xA9\n");
    EXPECT_EQ(ReadViewerText(dir / "empty.txt"), "");
    EXPECT_EQ(ReadViewerText(dir / "nul.txt"), "ab");
    EXPECT_FALSE(ReadViewerText(dir / "missing.txt"));
    EXPECT_FALSE(ReadViewerText(dir / "log.txt", 3));
}

TEST(FormatText, ConversionsTakeTheArgumentsInOrder)
{
    EXPECT_EQ(FormatText("Focused: %s%s %s", {"End1", "CV2", "ACC1"}), "Focused: End1CV2 ACC1");
    EXPECT_EQ(FormatText("Size: %lu", {"12"}), "Size: 12");
    EXPECT_EQ(FormatText("[%3d|%-4s|%%]", {"7", "ab"}), "[  7|ab  |%]");
    EXPECT_EQ(FormatText("%s and %s", {"one"}), "one and ");
    EXPECT_EQ(FormatText("100% sure %x", {"z"}), "100% sure %x");
}

TEST(FileFilters, PatternsInBothCasesAndTranslatedNames)
{
    EXPECT_EQ(CaseInsensitiveFilter("MIDI files (*.MID)|*.MID||"), "MIDI files (*.MID)|*.MID;*.mid");
    EXPECT_EQ(CaseInsensitiveFilter("P (*.PCG;*.PRG)|*.PCG;*.PRG|A|*.*"),
              "P (*.PCG;*.PRG)|*.PCG;*.pcg;*.PRG;*.prg|A|*.*");
    auto upper = [](std::string_view s) {
        std::string out(s);
        for (char& c : out)
            c = char(std::toupper(static_cast<unsigned char>(c)));
        return out;
    };
    EXPECT_EQ(TranslatedFilter(CaseInsensitiveFilter(kCollectFilter), upper),
              "MIDI FILES (*.MID)|*.MID;*.mid");
    EXPECT_EQ(TranslatedFilter(std::string_view("a|*.x|b|*.y"), upper), "A|*.x|B|*.y");
}
