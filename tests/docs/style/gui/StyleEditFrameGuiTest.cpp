// The edit frames of style and pad items in the real program: the trees,
// the level bar, the dialogs, deleting and adding chord variations, and
// what closing the frame writes into the item.
#include "tests/docs/style/gui/StyleGuiFixture.h"
#include "tests/support/StyFileBuilder.h"

namespace zib {
namespace {

using test::StyleGui;

std::vector<uint8_t> qeStyleFile()
{
    return test::dasfImage({test::qeEntry("Pop", 2, 2, 0, test::qeStyleInstance({"Pop", 0, {0, 4}})),
                            test::stsDataEntry("PopSts", 2, 0, {0, 2})});
}

TEST_F(StyleGui, QeEditFrameShowsBothTreesAndTheLevelsExpandThem)
{
    const std::string sty = file("pop.sty", qeStyleFile());
    const test::ZibRun r = run("select-rows 0 0\n"
                               "menu 32785\n"
                               "log-frame\n"
                               "log-tree 0\n"
                               "log-tree 1\n"
                               "menu 293\n"
                               "button-state 293\n"
                               "tree-expanded Variation1\n"
                               "tree-expanded Variation1/CV1\n"
                               "menu 293\n"
                               "button-state 292\n"
                               "tree-expanded Variation1/CV1\n"
                               "screenshot qe-edit-frame\n",
                               {sty});
    const std::string log = logOf(r);
    EXPECT_NE(log.find("items=0:Style Tree: Pop|1:Variation1|2:CV1|3:DRUM"), std::string::npos) << log;
    EXPECT_NE(log.find("items=0:STS Tree: PopSts|1:STS1|1:STS2|1:STS3|1:STS4"), std::string::npos) << log;
    EXPECT_TRUE(r.has("button 293 checked=1")) << log;
    EXPECT_TRUE(r.has("expanded Variation1 1")) << log;
    EXPECT_TRUE(r.has("button 292 checked=1")) << log;
    EXPECT_TRUE(r.has("expanded Variation1/CV1 0")) << log;
}

} // namespace
} // namespace zib
