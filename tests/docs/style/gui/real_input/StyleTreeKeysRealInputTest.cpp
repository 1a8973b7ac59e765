// Ctrl+S pressed in the tab of a style's edit frame saves the document, as
// it does in the track editor's tab: what the tree holds goes into the file
// and the frame stays open.
#include "docs/style/core/CZibStyDoc.h"
#include "docs/style/core/QeStyleEditor.h"
#include "platform/FileIo.h"
#include "tests/support/StyFileBuilder.h"
#include "tests/support/gui/DesktopTest.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

using test::ZibDesktop;
using test::ZibSession;

// Whether the saved style's first element has a second chord variation.
bool savedWithCv2(const std::filesystem::path& path)
{
    std::vector<uint8_t> bytes;
    CZibStyDoc doc;
    if (readWholeFile(path, bytes) != FileIoError::None || !doc.OpenImage(bytes, path.string()) ||
        doc.StyCount() == 0)
        return false;
    auto made = LibraryQeStyleEditor::FromItem(doc.m_StyItems[0].data);
    return made.editor && made.editor->QueryChordVar(0, 1) != 0;
}

using StyleTreeKeys = test::DesktopTest<>;

TEST_F(StyleTreeKeys, CtrlSInTheStyleTreeTabSaves)
{
    ZibSession& session = session_;
    ZibDesktop& desktop = *desktop_;
    const auto path = session.files() / "pop.sty";
    ASSERT_EQ(writeFileAtomically(path, test::dasfImage({test::qeEntry(
                                            "Pop", 2, 2, 0, test::qeStyleInstance({"Pop", 0, {0}}))})),
              FileIoError::None);
    const auto activeTab = [&] { return desktop.answer("log-tabs", "tabs:"); };

    ASSERT_TRUE(desktop.start({path.string()}));
    ASSERT_TRUE(desktop.waitForActiveWindow("pop.sty"));
    // A double click on the item opens its edit frame; Add CV on Variation1 changes the document.
    ASSERT_TRUE(desktop.clickOn("list-row 0", 2));
    ASSERT_TRUE(desktop.waitUntil(
        [&] { return activeTab().find("active=pop.sty - StyleTree - Pop") != std::string::npos; },
        "the edit frame"));
    ASSERT_TRUE(desktop.clickOn("tree-node Variation1"));
    desktop.ask("tree-command 32901");
    ASSERT_NE(activeTab().find("titles=pop.sty*|"), std::string::npos) << activeTab();

    desktop.keys("ctrl+s");
    EXPECT_TRUE(desktop.waitUntil([&] { return savedWithCv2(path); }, "the saved file"));
    EXPECT_NE(activeTab().find("active=pop.sty - StyleTree - Pop titles=pop.sty|"), std::string::npos)
        << activeTab();
    const test::ZibRun run = desktop.quit();
    EXPECT_TRUE(run.lines("message:").empty()) << run.output;
}

} // namespace
} // namespace zib
