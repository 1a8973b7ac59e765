// The program, arrangement and global documents in the real zib program,
// used as a user would: every kind opens from File > Open, the command line
// and a drop; items move between documents by paste and by drag with their
// model conversions; pages and dialogs change the bytes they should and
// Cancel none; edits are saved and opened again.
#include "app/texts/ZibMessageTable.h"
#include "platform/FileIo.h"
#include "platform/FileProfile.h"
#include "tests/app/gui/ZibSession.h"
#include "tests/support/ArrFileBuilder.h"
#include "tests/support/GlobalFileBuilder.h"
#include "tests/support/PcgFileBuilder.h"
#include "tests/support/PrfFileBuilder.h"
#include "tests/support/RealFixtures.h"

#include <gtest/gtest.h>

using namespace zib;
using test::ZibRun;
using test::ZibSession;

namespace {

class ProgramDocsGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!session_.displayOk()) GTEST_SKIP() << "Xvfb is not available";
        FileProfile p(session_.settingsFile());
        p.setString("Settings", "Author", "Tester");
        p.setInt("Settings", "AppLanguage", 0);
    }

    ZibRun run(const std::string& script, const std::vector<std::string>& args = {}, int seconds = 60)
    {
        ZibRun r = session_.run(script, seconds, args);
        EXPECT_FALSE(r.killed) << r.output;
        EXPECT_TRUE(r.line("dialog-timeout").empty()) << r.output;
        EXPECT_EQ(r.output.find("AddressSanitizer"), std::string::npos) << r.output;
        EXPECT_EQ(r.output.find("runtime error:"), std::string::npos) << r.output;
        return r;
    }

    std::string file(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        const std::string path = (session_.files() / name).string();
        writeFileAtomically(path, bytes);
        return path;
    }

    ZibSession session_;
};

struct Kind {
    const char* name;
    std::vector<uint8_t> image;
    const char* firstRow; // the first logged row starts with this
    int rows;
};

std::vector<Kind> everyKind()
{
    return {
        {"wq8.pcg", test::WqPcgBuilder('9').image(), "row 0: Prog1|U11|", 64},
        {"wq41.prg", test::WqPcgBuilder('I').image(), "row 0: Prog1|F11|", 128},
        {"qe.pcg", test::qePcgImage({{"Piano", 9, 0}, {"Organ", 9, 2}}), "row 0: Piano|10 / 0|", 3},
        {"live.prf",
         test::qePrfImage({{"Pop Live", 2, 0, test::performanceData(1, 1)}, {"Jazz", 2, 3, test::performanceData(2, 2)}}),
         "row 0: Pop Live|3 / 0|", 4},
        {"wq8.arr", test::ArrFileBuilder('9').image(), "row 0: Arr1|D11|", 64},
        {"wq6.arr", test::ArrFileBuilder('<').image(), "row 0: Arr1|D11|", 64},
        {"r65.arr", test::ArrFileBuilder('M').image(), "row 0: Arr1|U11|", 64},
        {"wq41.arr", test::ArrFileBuilder('I', 2).image(), "row 0: Arr1|F11|", 128},
        {"r65.arg", test::argImage('M'), "row 0:       MIDI CHANNELS|----------", 22},
        {"wq41.arg", test::argImage('I'), "row 0:       MIDI CHANNELS|----------", 36},
        {"r65.gbl", test::gblImage('M'), "row 0: Master Tune|0", 49},
        {"wq41.gbl", test::gblImage('I'), "row 0: Master Tune|0", 69},
    };
}

} // namespace

TEST_F(ProgramDocsGui, EveryKindOpensByFileOpenTheCommandLineAndADrop)
{
    const auto kinds = everyKind();
    std::string menuScript, dropScript;
    std::vector<std::string> paths;
    for (const Kind& k : kinds) {
        paths.push_back(file(k.name, k.image));
        menuScript += "dialog path " + paths.back() + "\nmenu 57601\nwait 100\nlog-list 1\n";
        dropScript += "drop-files " + paths.back() + "\nwait 100\nlog-list 1\n";
    }
    const auto check = [&](const ZibRun& r, const char* how) {
        const auto lists = r.lines("list: title=");
        const auto rows = r.lines("row 0: ");
        ASSERT_EQ(lists.size(), kinds.size()) << how << r.output;
        ASSERT_EQ(rows.size(), kinds.size()) << how;
        for (size_t i = 0; i < kinds.size(); ++i) {
            EXPECT_NE(lists[i].find(" rows=" + std::to_string(kinds[i].rows) + " "), std::string::npos)
                << how << " " << kinds[i].name << ": " << lists[i];
            EXPECT_EQ(rows[i].rfind(kinds[i].firstRow, 0), 0u) << how << " " << kinds[i].name << ": " << rows[i];
        }
    };
    check(run(menuScript + "screenshot program-docs-open\nquit\n"), "menu");
    check(run(dropScript + "quit\n"), "drop");
    // The command line opens them all; the last one is active.
    ZibRun r = run("wait 300\nlog-list 1\nquit\n", paths);
    const auto list = r.line("list: title=");
    EXPECT_NE(list.find(" rows=69 "), std::string::npos) << list << r.output;
}
