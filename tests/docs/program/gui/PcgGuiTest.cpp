// A program file in the real zib program: its list, its toolbar set, the
// drum-kit view, the clipboard, the editor pages and an extracted item.
#include "ui/texts/ZibMessageTable.h"
#include "platform/FileIo.h"
#include "tests/support/gui/ZibSession.h"
#include "tests/support/PcgFileBuilder.h"
#include "tests/support/RealFixtures.h"

#include <gtest/gtest.h>

using namespace zib;
using test::ZibRun;
using test::ZibSession;

namespace {

class PcgGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!session_.displayOk()) GTEST_SKIP() << "Xvfb is not available";
        session_.seedAuthor();
    }

    ZibRun run(const std::string& script)
    {
        return session_.runChecked(script, 60);
    }

    ZibSession session_;
};

} // namespace

TEST_F(PcgGui, AWq8FileOpensItsListAndAnEditedProgramIsExtracted)
{
    const std::string file = (session_.files() / "Bank.pcg").string();
    const std::string out = (session_.files() / "Edited.WPF").string();
    writeFileAtomically(file, test::WqPcgBuilder('9').image());
    ZibRun r = run("dialog path " + file +
                   "\n"
                   "menu 57601\n"
                   "await-idle\n"
                   "log-frame\n"
                   "menu 32786\n"
                   "log-frame\n"
                   "menu 32786\n"
                   "menu 57642\n" // Select All, Cut, Paste: the pasted rows are selected and focused
                   "menu 57635\n"
                   "menu 57637\n"
                   "await-idle\n"
                   "log-frame\n"
                   "dialog log 1199 ; log 1000 ; page 2 ; log 1400 ; set 1400 42 ; log 1400 ; click ok\n"
                   "menu 32785\n"
                   "dialog path " +
                   out +
                   "\n"
                   "menu 32773\n"
                   "log-exists " +
                   out +
                   "\n"
                   "screenshot pcg\n"
                   "dialog no\n"
                   "quit\n");
    const auto frames = r.lines("frame:");
    ASSERT_EQ(frames.size(), 3u) << r.output;
    // Program windows show the MoveItem bar alone as their document bar.
    EXPECT_NE(frames[0].find(" bars=Standard,MoveItem docbar=MoveItem "), std::string::npos) << frames[0];
    EXPECT_NE(frames[0].find("status=Focused: NONE|Items num: 64|Size: 10496 "), std::string::npos) << frames[0];
    EXPECT_NE(frames[1].find("|Items num: 2|Size: 2968 "), std::string::npos) << frames[1];
    EXPECT_NE(frames[2].find("status=Focused: Prog1|Items num: 64|"), std::string::npos) << frames[2];

    EXPECT_TRUE(r.has("dialog: title=Program Properties")) << r.output;
    EXPECT_NE(r.line("control 1199:").find("text=Prog1 "), std::string::npos);
    EXPECT_NE(r.line("control 1000:").find("label=Single checked="), std::string::npos);
    const auto cutoff = r.lines("control 1400:");
    ASSERT_EQ(cutoff.size(), 2u);
    EXPECT_NE(cutoff[1].find("text=42 "), std::string::npos) << cutoff[1];
    EXPECT_TRUE(r.has("dialog-end: title=Program Properties result=5100"));

    // The record of the first pasted row as an item file, with the edited cutoff (family A offset 50).
    EXPECT_TRUE(r.has("exists " + out + " 1"));
    const auto item = test::readFileBytes(out);
    ASSERT_EQ(item.size(), 169u);
    EXPECT_EQ(std::string(item.begin(), item.begin() + 5), "DASK9");
    EXPECT_EQ(item[5 + 50], 42);
    auto original = test::wqProgramRecord('9', "Prog1", 0);
    original[50] = 42;
    original[10] = 1; // an oscillator mode of 10 was shown as Double and is stored as 1
    EXPECT_EQ(std::vector<uint8_t>(item.begin() + 5, item.end()), original);
    // The modified document asks before it closes.
    EXPECT_TRUE(r.has("message: title=zib text=Save changes to " + file)) << r.output;
}

TEST_F(PcgGui, AFileThatIsNoProgramFileIsReportedAndNotOpened)
{
    const std::string file = (session_.files() / "Broken.pcg").string();
    auto image = test::WqPcgBuilder('9').image();
    image.pop_back();
    writeFileAtomically(file, image);
    ZibRun r = run("dialog path " + file + "\ndialog ok\nmenu 57601\nawait-idle\nlog-frame\nquit\n");
    EXPECT_TRUE(r.has("message: title=ParseWqSerPrg text=" + ZibMessage(14, 0))) << r.output;
    EXPECT_NE(r.line("frame:").find(" docbar=Standard "), std::string::npos) << r.line("frame:");
}
