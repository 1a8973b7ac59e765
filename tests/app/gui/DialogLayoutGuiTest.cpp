// Every dialog of the program in English, Italian and German, as a user
// sees it: it fits a 1024x768 screen, every label fits its control, no
// control reaches past the dialog or covers another. The test driver checks
// the laid-out windows (LayoutFaults) and keeps a screenshot of each dialog
// in the build folder (shots/NAME-LANGUAGE.png).
#include "platform/FileIo.h"
#include "tests/support/ArrFileBuilder.h"
#include "tests/support/GlobalFileBuilder.h"
#include "tests/support/PcgFileBuilder.h"
#include "tests/support/PrfFileBuilder.h"
#include "tests/support/StyFileBuilder.h"
#include "tests/support/gui/ZibSession.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <ostream>

using namespace zib;
using test::ZibRun;
using test::ZibSession;

namespace {

// The answer to the next dialog: a screenshot NAME-LANGUAGE, its layout
// faults, then `end` (cancel, or a click that opens a dialog over it first).
std::string look(const std::string& name, const std::string& end = "cancel")
{
    return "dialog shot " + name + "@ ; log-layout ; " + end + "\n";
}

// Script lines, one step each.
std::string steps(std::initializer_list<std::string> lines)
{
    std::string script;
    for (const std::string& line : lines)
        script += line;
    return script;
}

// The dialogs one run of the program opens: the files it opens first and
// the script that shows each dialog.
struct DialogRun {
    const char* name;
    std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
    std::string script;
};

// Test names and messages name the run, not its bytes.
void PrintTo(const DialogRun& run, std::ostream* out)
{
    *out << run.name;
}

std::vector<DialogRun> dialogRuns()
{
    const std::string properties = "select-rows 0 0\nmenu 32785\n";
    return {
        {"settings",
         {},
         steps({
             look("about") + "menu 57664\n",
             look("sort-method") + "menu 32793\n",
             look("transpose-settings") + "menu 32792\n",
             look("keyboard-type") + "menu 32799\n",
             look("wq-conversion") + "menu 32815\n",
             look("sty-to-midi") + "menu 32819\n",
             look("qe-conversion") + "menu 32823\n",
             look("playback-settings") + "menu 32876\n",
             look("qe-track-to-wq-track") + "menu 32898\n",
             look("psr-to-qe") + "menu 32900\n",
             look("midi-ports") + "menu 32941\n",
             look("instruments") + "menu 32951\n",
             look("new-file") + "menu 57600\n",
         })},
        {"shared",
         {},
         steps({
             look("time-signature") + "run-dialog time-signature\n",
             look("cv-params") + "run-dialog cv-params\n",
             look("edit-chord-table") + "run-dialog edit-chord-table\n",
             look("transpose-value") + "run-dialog transpose-value\n",
             look("goto") + "run-dialog goto\n",
             look("confirm-overwrite") + "run-dialog confirm-overwrite\n",
             look("record-settings") + "run-dialog record-settings\n",
             look("tempo") + "run-dialog tempo\n",
             look("marker") + "run-dialog marker\n",
             look("shift-events") + "run-dialog shift-events\n",
             look("paste-events") + "run-dialog paste-events\n",
             look("metronome") + "run-dialog metronome\n",
             look("track-properties") + "run-dialog track-properties\n",
             look("console") + "run-dialog console\n",
             look("port-instrument") + "run-dialog port-instrument\n",
             look("record-input") + "run-dialog record-input\n",
         })},
        {"programs",
         {{"wq41.prg", test::WqPcgBuilder('I').image()},
          {"live.prf", test::qePrfImage({{"Pop Live", 2, 0, test::performanceData(1, 1)}})},
          {"r65.arr", test::ArrFileBuilder('M').image()},
          {"r65.arg", test::argImage('M')},
          {"wq41.arg", test::argImage('I')},
          {"wq41.gbl", test::gblImage('I')}},
         steps({
             "activate-child wq41.prg\n" + look("program-properties") + properties,
             "activate-child live.prf\n" + look("performance-settings") + properties,
             "activate-child r65.arr\n" + look("arrangement-properties") + properties,
             // A double click on a channel opens its own dialog.
             "activate-child r65.arg\n" + look("arrangement-global", "activate 1311 9 ; cancel") +
                 look("midi-channel") + "menu 32785\n",
             "activate-child wq41.arg\n" + look("wq41-arrangement-global") + "menu 32785\n",
             "activate-child wq41.gbl\n" + look("global-data", "activate 1401 31 ; cancel") + look("scale") +
                 "menu 32785\n",
         })},
        {"styles",
         {{"pop.sty",
           test::dasfImage({test::qeEntry("Pop", 2, 2, 0, test::qeStyleInstance({"Pop", 0, {0, 4}})),
                            test::stsDataEntry("PopSts", 2, 0, {0, 2})})},
          {"wq8.sty", test::wqStyleFile('9', {test::smallWq8Image("Rock")})}},
         steps({
             "activate-child pop.sty\nselect-rows 0 0\n" + look("style-playback") + "menu 32784\n",
             look("toolbars") + "menu 59392\n",
             // The edit frame of the Qe style.
             properties + "select-node \"Style Tree: Pop\"\n" + look("style-flags") + "menu 32870\n",
             "select-node Variation1\n" + look("ntt") + "menu 32828\n",
             look("track-settings", "select 1870 10 ; click 1810 ; cancel") + look("sounds") + "menu 32829\n",
             look("chord-table") + "menu 32827\n",
             "select-node Variation1/CV1/BASS\n" + look("key-chord") + "tree-command 32875\n",
             "select-node \"STS Tree: PopSts\" 1\n" + look("style-performance") + "tree-activate 1\n",
             "select-node \"STS Tree: PopSts/STS1\" 1\n" + look("sts-settings") +
                 "tree-activate 1\nmenu 4001\n",
             // The Wq style, its list and its edit frame.
             "activate-child wq8.sty\nselect-rows 0 0\n" + look("clean-style-events") + "menu 32801\n",
             "menu 32785\nselect-node \"Style Tree: Rock\"\n" + look("style-parameters") + "menu 32871\n",
             "menu 4001\n",
         })},
    };
}

size_t count(const std::string& text, const std::string& word)
{
    size_t n = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        ++n;
    return n;
}

} // namespace

// One run of the program per group of dialogs and language.
class DialogLayoutGui : public ::testing::TestWithParam<DialogRun> {};

TEST_P(DialogLayoutGui, EveryDialogFitsTheScreenAndItsTextsInEveryLanguage)
{
    const DialogRun& d = GetParam();
    const char* languages[] = {"en", "it", "de"};
    for (int language = 0; language < 3; ++language) {
        ZibSession session;
        if (!session.displayOk()) GTEST_SKIP() << "Xvfb is not available";
        session.seedAuthor(language);
        SCOPED_TRACE(languages[language]);
        std::vector<std::string> args;
        for (const auto& [name, bytes] : d.files) {
            args.push_back((session.files() / name).string());
            ASSERT_EQ(writeFileAtomically(args.back(), bytes), FileIoError::None);
        }
        std::string script = d.script;
        for (size_t at = script.find('@'); at != std::string::npos; at = script.find('@', at))
            script.replace(at, 1, std::string("-") + languages[language]);
        const ZibRun r = session.runChecked(script + "quit\n", 120, args);
        std::string log;
        for (const std::string& line : r.log)
            log += line + "\n";
        // Every dialog came, and none has a fault.
        EXPECT_EQ(r.lines("layout-faults: ").size(), count(d.script, "log-layout")) << log;
        EXPECT_EQ(r.lines("layout-faults: 0").size(), r.lines("layout-faults: ").size()) << log;
    }
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogLayoutGui, ::testing::ValuesIn(dialogRuns()),
                         [](const ::testing::TestParamInfo<DialogRun>& info) {
                             return std::string(info.param.name);
                         });
