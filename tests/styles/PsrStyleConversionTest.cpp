// The PSR conversion as the conversion command runs it: settings in, the
// style resource, its name and the error text out.
#include "styles/PsrStyleConversion.h"

#include "tests/support/DasfImageBuilder.h"
#include "tests/support/LibraryStyle.h"
#include "tests/support/PsrStyleBuilder.h"
#include "ulvarf/ulvarf.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zib {
namespace {

using Bytes = std::vector<uint8_t>;

// Intro A, Intro B and Ending C with a drum channel each.
Bytes introStyle(const std::string& trackName)
{
    test::PsrStyleBuilder b(96, trackName);
    b.Section(b.Bar(1), "Intro A").Section(b.Bar(2), "Intro B").Section(b.Bar(3), "Ending C");
    b.Notes(9, 36, b.Bar(1), b.Bar(4), 96);
    b.Casm({{"Intro A,Intro B,Ending C", {{.source = 9, .dest = 9}}}});
    return b.Build();
}

TEST(PsrStyleConversion, SettingsChooseTheElements)
{
    struct Case {
        const char* letters;
        uint16_t mask;
    };
    const Case cases[] = {
        {"ABCDABADAB", 0x0030},  // INT1 Intro A, INT2 Intro B
        {"ABCDBCADAC", 0x0210},  // INT1 Intro B, END2 Ending C
        {"ABCDBAADBA", 0x0000},  // no pair used: nothing left to convert
        {"ZZZZZZZZZZ", 0x0030},  // invalid: the default
    };
    for (const Case& c : cases) {
        PsrConvertSettings settings;
        settings.psrStyToQeSty = c.letters;
        const PsrConversionResult result = ConvertPsrStyle(introStyle("Intro Test"), "Intro.sty", settings, nullptr);
        if (c.mask == 0) {
            EXPECT_EQ(result.code, 119) << c.letters;
            EXPECT_EQ(result.errorText, "CMidiFile error: 119 - None style elment has NoteON events");
            EXPECT_TRUE(result.styleResource.empty());
            continue;
        }
        ASSERT_EQ(result.code, 0) << c.letters;
        EXPECT_TRUE(result.errorText.empty());
        ASSERT_GT(result.styleResource.size(), 40u);
        EXPECT_EQ(result.styleResource[38] << 8 | result.styleResource[39], c.mask) << c.letters;
    }
}

TEST(PsrStyleConversion, NameLogAndContainer)
{
    std::ostringstream log;
    const PsrConversionResult result =
        ConvertPsrStyle(introStyle("Mix/Pop:Rock style long"), "Mix.prs", PsrConvertSettings{}, &log);
    ASSERT_EQ(result.code, 0);
    EXPECT_EQ(std::string(result.styleName.begin(), result.styleName.end()), "Mix/Pop:Rock sty");
    EXPECT_NE(log.str().find("Converting Yamaha style: Mix.prs to DASK QE4K style\n"), std::string::npos);

    // Wrapped as the command writes it, the library opens it.
    const test::LibraryStyle style(test::psrStyleImage("Mix_Pop_Rock_sty", result.styleResource));
    ASSERT_NE(style.container(), nullptr);
    EXPECT_NE(style.editor(), nullptr);
    EXPECT_EQ(_ULStEQueryStyleElem(style.editor(), 4), 2);
    EXPECT_EQ(_ULStEQueryStyleElem(style.editor(), 5), 2);
}

TEST(PsrStyleConversion, AFileThatIsNoMidiFile)
{
    const Bytes junk = {'R', 'I', 'F', 'F', 0, 0, 0, 4, 1, 2, 3, 4};
    const PsrConversionResult result = ConvertPsrStyle(junk, "junk.sty", PsrConvertSettings{}, nullptr);
    EXPECT_EQ(result.code, 13);
    EXPECT_EQ(result.errorText, "CMidiFile error: 13 - Missing MThd chunk");
    const PsrConversionResult empty = ConvertPsrStyle({}, "empty.sty", PsrConvertSettings{}, nullptr);
    EXPECT_NE(empty.code, 0);
    EXPECT_FALSE(empty.errorText.empty());
}

} // namespace
} // namespace zib
