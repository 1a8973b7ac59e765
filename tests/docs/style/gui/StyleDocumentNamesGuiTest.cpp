// The names style and pad documents go by in the real program: a pad
// document made new from File > New, and the titles of every window of a
// document after Save As.
#include "docs/style/core/CZibPadDoc.h"
#include "docs/style/core/ItemFile.h"
#include "ui/core/ChildKind.h"
#include "tests/docs/style/gui/StyleGuiFixture.h"
#include "tests/support/StyFileBuilder.h"

namespace zib {
namespace {

using test::StyleGui;
using test::ZibRun;

// The entries of the New dialog's kind list, in the templates' order
constexpr int kNewStyle = 1;
constexpr int kNewPad = 4;

std::string newDocument(int kind)
{
    return "dialog select 1914 " + std::to_string(kind) + " ; ok\nmenu 57600\n";
}

// File > New > "Pad Files" opens an empty pad document like the other kinds
// (and the next new document takes the next number); it takes an imported
// pad and is saved under the name Save As gives it.
TEST_F(StyleGui, ANewPadDocumentOpensTakesAPadAndIsSavedUnderItsName)
{
    CZibPadDoc source;
    ASSERT_TRUE(source.OpenImage(test::dasfImage({test::qeEntry("Pad1", 9, 0, 0,
                                                                test::qeStyleInstance({"Pad1", 1, {0}, 0, true}))}),
                                 (session_.files() / "source.pad").string()));
    const std::string zpf = file("Pad1.ZPF", PadItemFileBytes(source.m_Model, source.m_PadItems.at(0)));
    const std::string saved = (session_.files() / "new.pad").string();

    const ZibRun r = run(newDocument(kNewPad) +
                         "log-tabs\n"
                         "log-frame\n"
                         "log-list 1\n"
                         "dialog path " + zpf + "\n"
                         "menu 32774\n"
                         "log-list 1\n" +
                         newDocument(kNewStyle) +
                         "activate-child unnamed1\n"
                         "dialog path " + saved + "\n"
                         "menu 57604\n"
                         "log-tabs\n");
    const std::string log = logOf(r);
    EXPECT_TRUE(r.has("tabs: active=unnamed1 titles=unnamed1")) << log;
    EXPECT_NE(r.line("frame:").find(" kind=" + std::to_string(int(ChildKind::ChildPad)) + " "), std::string::npos)
        << "a pad window: " << log;
    EXPECT_NE(log.find("list: title=unnamed1 rows=0 "), std::string::npos) << log;
    EXPECT_NE(log.find("list: title=unnamed1* rows=1 "), std::string::npos) << log;
    EXPECT_EQ(r.line("row 0:").rfind("row 0: Pad1", 0), 0u) << log;
    EXPECT_TRUE(r.lines("message:").empty()) << log;
    EXPECT_TRUE(r.has("tabs: active=new.pad titles=new.pad|unnamed2")) << log;

    CZibPadDoc reopened;
    ASSERT_TRUE(reopened.OpenImage(read(saved), saved));
    ASSERT_EQ(reopened.PadCount(), 1);
    EXPECT_EQ(reopened.m_PadItems[0].NameText().substr(0, 4), "Pad1");
}

// After each Save As, the list, the edit frame and the track editor of a
// style name the file it was saved as last.
TEST_F(StyleGui, EveryWindowOfAStyleTakesTheNameOfEachSaveAs)
{
    const std::string sty =
        file("pop.sty", test::dasfImage({test::qeEntry("Pop", 2, 2, 0, test::qeStyleInstance({"Pop", 0, {0}})),
                                         test::stsDataEntry("PopSts", 2, 0, {0, 2})}));
    // Save As from the track editor, the window open last.
    std::string script = "select-rows 0 0\n"
                         "menu 32785\n"
                         "select-node Variation1/CV1/BASS\n"
                         "tree-activate\n";
    for (const char* name : {"first.sty", "second.sty"})
        script += "dialog path " + (session_.files() / name).string() + "\n"
                  "menu 57604\n"
                  "log-tabs\n";
    const ZibRun r = run(script, {sty});
    const auto tabs = r.lines("tabs:");
    ASSERT_EQ(tabs.size(), 2u) << logOf(r);
    for (const auto& [line, name] : {std::pair{tabs[0], "first.sty"}, std::pair{tabs[1], "second.sty"}}) {
        const std::string n = name;
        EXPECT_NE(line.find(" titles=" + n + "|" + n + " - StyleTree - Pop|" + n + " - EventList - V1CV1 BASS"),
                  std::string::npos)
            << logOf(r);
    }
}

} // namespace
} // namespace zib
