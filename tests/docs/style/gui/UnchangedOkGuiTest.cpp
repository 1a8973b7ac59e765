// Windows of the style documents that change nothing leave the document
// unmarked in the real program: every dialog and sheet of the edit frames
// confirmed as it opened, a label editor closed on the name it showed, and
// the playback simulator opened while a label editor was open.
#include "tests/docs/style/gui/StyleGuiFixture.h"
#include "tests/support/StyFileBuilder.h"

#include <ostream>

namespace zib {
namespace {

using test::StyleGui;
using test::ZibRun;

struct UnchangedWindowRoad {
    const char* name;
    bool qe;           // the Qe style file, else the Wq one
    const char* steps; // after the file opened
};

void PrintTo(const UnchangedWindowRoad& road, std::ostream* out)
{
    *out << road.name;
}

const UnchangedWindowRoad kUnchangedWindowRoads[] = {
    {"QeTreeDialogsAndStsSheets", true,
     "select-rows 0 0\nmenu 32785\n"
     "dialog ok\nselect-node Variation1/CV1/BASS\ntree-command 32875\n"
     "dialog ok\nselect-node Variation1/CV1/ACC4\ntree-command 32875\n"
     "dialog ok\nselect-node Variation1\ntree-command 32828\n"
     "dialog ok\ntree-command 32829\n"
     "dialog ok\ntree-command 32827\n"
     "dialog ok\nselect-node \"Style Tree: Pop\"\ntree-command 32870\n"
     "dialog page 0 ; page 1 ; ok\nselect-node \"STS Tree: PopSts\" 1\ntree-activate 1\n"
     "dialog ok\nselect-node \"STS Tree: PopSts/STS1\" 1\ntree-activate 1\n"},
    {"WqTreeDialogs", false,
     "select-rows 0 0\nmenu 32785\n"
     "dialog ok\nselect-node \"Style Tree: Rock\"\nmenu 32871\n"
     "dialog ok\nselect-node Variation1\nmenu 32872\n"
     "dialog ok\nselect-node Variation1/CV1\nmenu 32806\n"},
    {"QeNameEditedAsShown", true, "select-rows 0 0\nmenu 32779\nedit-label Pop\n"},
    {"WqNameEditedAsShown", false, "select-rows 0 0\nmenu 32779\nedit-label Rock\n"},
    // The simulator takes the focus from the label editor, which ends on its name.
    {"QeSimulatorOverALabelEditor", true, "select-rows 0 0\nmenu 32779\ndialog cancel\nmenu 32784\n"},
    {"WqSimulatorOverALabelEditor", false, "select-rows 0 0\nmenu 32779\ndialog cancel\nmenu 32784\n"},
};

class UnchangedWindow : public StyleGui, public ::testing::WithParamInterface<UnchangedWindowRoad> {};

TEST_P(UnchangedWindow, LeavesTheDocumentUnmarked)
{
    const UnchangedWindowRoad& c = GetParam();
    const std::string sty =
        c.qe ? file("pop.sty",
                    test::dasfImage({test::qeEntry("Pop", 2, 2, 0, test::qeStyleInstance({"Pop", 0, {0, 4}})),
                                     test::stsDataEntry("PopSts", 2, 0, {0, 2})}))
             : file("wq8.sty", test::wqStyleFile('9', {test::smallWq8Image("Rock")}));
    const std::vector<uint8_t> before = read(sty);
    const ZibRun r = run(std::string(c.steps) + "await-idle\nlog-tabs\n", {sty});
    const std::string log = logOf(r);
    const std::string tabs = r.line("tabs: ");
    ASSERT_FALSE(tabs.empty()) << log;
    EXPECT_EQ(tabs.find('*'), std::string::npos) << tabs << "\n" << log;
    // Nothing asked to save at the end, and the file as it was.
    EXPECT_TRUE(r.lines("message: ").empty()) << log;
    EXPECT_EQ(read(sty), before);
}

INSTANTIATE_TEST_SUITE_P(Roads, UnchangedWindow, ::testing::ValuesIn(kUnchangedWindowRoads),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zib
