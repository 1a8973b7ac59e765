// The main window's title names the document of the active window, whatever
// kind of window of the document it is, from the moment it is active.
#include "tests/app/gui/AppGuiFixture.h"
#include "tests/support/QeEditorStyleBuilder.h"
#include "tests/support/StyFileBuilder.h"

namespace zib {
namespace {

using test::ZibRun;

class MainTitleGui : public test::AppGui {};

// The title a "frame:" line of the log reports
std::string titleIn(const std::string& frameLine)
{
    const size_t from = frameLine.find(" title=");
    if (from == std::string::npos) return {};
    const size_t to = frameLine.find(" kind=", from);
    return frameLine.substr(from + 7, to == std::string::npos ? std::string::npos : to - from - 7);
}

TEST_F(MainTitleGui, NamesTheDocumentOfTheStyleTreeAndTheTrackEditor)
{
    const std::string style = open(
        "pop.sty",
        test::dasfImage({test::qeEntry("Pop", 2, 2, 0, test::qeStyleInstance({"Pop", 0, {0}, 0, false}))}));
    const ZibRun r = session_.runChecked(
        style + "select-rows 0 0\nmenu 32785\nawait-child StyleTree\nlog-frame\n" +
        "select-node Variation1/CV1/BASS\nmenu 32848\nawait-child EventList\nlog-frame\n");
    const auto frames = r.lines("frame:");
    ASSERT_EQ(frames.size(), 2u) << logText(r);
    for (const auto& frame : frames)
        EXPECT_EQ(titleIn(frame).rfind("Zib - pop.sty", 0), 0u) << frame;
}

TEST_F(MainTitleGui, NamesANewProgramDocumentAtOnce)
{
    const std::string newPrograms = "dialog select 1914 2 ; select 1915 1 ; ok\nmenu 57600\nlog-frame\n";
    const ZibRun r = session_.runChecked(newPrograms + newPrograms);
    const auto frames = r.lines("frame:");
    ASSERT_EQ(frames.size(), 2u) << logText(r);
    EXPECT_EQ(titleIn(frames[0]), "Zib - unnamed1") << frames[0];
    EXPECT_EQ(titleIn(frames[1]), "Zib - unnamed2") << frames[1];
}

} // namespace
} // namespace zib
