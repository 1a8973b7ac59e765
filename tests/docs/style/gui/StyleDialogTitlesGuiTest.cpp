// The dialogs of the style edit frame are wide enough to show their titles
// whole in the title bar, beside at least a button's room ("'Variat...yChord"
// was cut).
#include "tests/docs/style/gui/StyleGuiFixture.h"
#include "tests/support/StyFileBuilder.h"

#include <cstdio>

namespace zib {
namespace {

using test::StyleGui;
using test::ZibRun;

TEST_F(StyleGui, EditFrameDialogsAreWideEnoughForTheirTitles)
{
    const std::string sty = file(
        "pop.sty", test::dasfImage({test::qeEntry("Pop", 2, 2, 0, test::qeStyleInstance({"Pop", 0, {0, 4}})),
                                    test::stsDataEntry("PopSts", 2, 0, {0, 2})}));
    const struct {
        const char* title;
        const char* opens; // the script step that opens the dialog
    } dialogs[] = {
        {"'Variation1_CV1_BASS' KeyChord", "select-node Variation1/CV1/BASS\ntree-command 32875\n"},
        {"'Variation1' NTT", "select-node Variation1\ntree-command 32828\n"},
        {"'Variation1' Tracks Settings", "select-node Variation1\ntree-command 32829\n"},
        {"Style Flags", "select-node \"Style Tree: Pop\"\ntree-command 32870\n"},
        {"Style Performance settings", "select-node \"STS Tree: PopSts\" 1\ntree-activate 1\n"},
        {"STS settings: STS1", "select-node \"STS Tree: PopSts/STS1\" 1\ntree-activate 1\n"},
    };
    std::string script = "select-rows 0 0\nmenu 32785\n";
    for (const auto& d : dialogs)
        script += std::string("dialog log-title-room ; cancel\n") + d.opens;
    const ZibRun r = run(script, {sty});
    const std::string log = logOf(r);
    const auto rooms = r.lines("title-room: ");
    ASSERT_EQ(rooms.size(), std::size(dialogs)) << log;
    for (size_t i = 0; i < rooms.size(); ++i) {
        EXPECT_TRUE(r.has(std::string("dialog: title=") + dialogs[i].title)) << log;
        int width = 0, text = 0, height = 0;
        ASSERT_EQ(std::sscanf(rooms[i].c_str(), "title-room: width=%d text=%dx%d", &width, &text, &height), 3)
            << rooms[i];
        EXPECT_GE(width, text + 2 * height) << dialogs[i].title << ": " << rooms[i];
    }
}

} // namespace
} // namespace zib
