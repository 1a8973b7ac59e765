// Files named on the command line, of every document kind: relative names
// count from the folder the program was started in, a file that cannot be
// opened is reported and the rest still open, and the program stays up and
// ends cleanly.
#include "platform/FileIo.h"
#include "tests/support/gui/ZibSession.h"
#include "tests/support/ArrFileBuilder.h"
#include "tests/support/DasfImageBuilder.h"
#include "tests/support/GlobalFileBuilder.h"
#include "tests/support/PcgFileBuilder.h"
#include "tests/support/PrfFileBuilder.h"
#include "tests/support/SmfBuilder.h"
#include "tests/support/StyFileBuilder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zib::test {
namespace {

using Bytes = std::vector<uint8_t>;

struct Kind {
    const char* extension;
    std::function<Bytes(const std::string& name)> build; // a good file whose first item (or track) has the name
};

std::vector<Kind> everyKind()
{
    return {
        {"mid",
         [](const std::string& name) {
             SmfBuilder smf(1, 96);
             smf.AddTrack().TimeSig(0, 4, 2).TrackName(0, name);
             smf.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60);
             return smf.Build();
         }},
        {"sty", [](const std::string& name) { return smallWqStyleFile('9', 2, name); }},
        {"sty",
         [](const std::string& name) {
             return dasfImage({qeEntry(name, 2, 2, 0, qeStyleInstance({name}))});
         }},
        {"pad",
         [](const std::string& name) {
             return dasfImage({qeEntry(name, 9, 0, 0, qeStyleInstance({name, 1, {0}, 0, true}))});
         }},
        {"pcg", [](const std::string& name) { return WqPcgBuilder('9').program(0, wqProgramRecord('9', name)).image(); }},
        {"prg", [](const std::string& name) { return WqPcgBuilder('I').program(0, wqProgramRecord('I', name)).image(); }},
        {"prf", [](const std::string& name) { return qePrfImage({{name, 2, 0, performanceData(1, 1)}}); }},
        {"arr", [](const std::string&) { return ArrFileBuilder('M').image(); }},
        {"gbl", [](const std::string&) { return gblImage('M'); }},
        {"arg", [](const std::string&) { return argImage('I'); }},
    };
}

} // namespace

// One run per kind: two good files in a folder below the start folder, named
// relatively, with every kind of bad input between them (a good file before
// a failing one and after it). Each bad input gets its message; both good
// files open (closing the active one shows the other); the program ends by
// itself with nothing from GTK about misused widgets.
TEST(CommandLineGui, BadFilesAreReportedAndTheOthersOpen)
{
    ZibSession session;
    if (!session.displayOk()) GTEST_SKIP() << "Xvfb is not available";
    session.seedAuthor();
    std::filesystem::create_directories(session.files() / "in");
    for (const Kind& kind : everyKind()) {
        const std::string ext = kind.extension;
        SCOPED_TRACE(ext);
        ASSERT_EQ(writeFileAtomically(session.files() / "in" / ("A." + ext), kind.build("First")), FileIoError::None);
        ASSERT_EQ(writeFileAtomically(session.files() / "in" / ("B." + ext), kind.build("Second")), FileIoError::None);
        ASSERT_EQ(writeFileAtomically(session.files() / "in" / ("empty." + ext), Bytes{}), FileIoError::None);
        std::filesystem::create_directories(session.files() / "in" / ("folder." + ext));
        struct Bad {
            std::string name;
            const char* message;
        };
        std::vector<Bad> bad = {{"missing." + ext, "Cannot open file"},
                                {"empty." + ext, "File possibly corrupted - empty file"},
                                {"folder." + ext, "Cannot open file"}};
        // Root reads any file, whatever its permissions: the case means nothing then.
        if (geteuid() != 0) {
            const auto locked = session.files() / "in" / ("locked." + ext);
            ASSERT_EQ(writeFileAtomically(locked, kind.build("Locked")), FileIoError::None);
            ::chmod(locked.c_str(), 0);
            bad.push_back({"locked." + ext, "Cannot open file"});
        }
        std::vector<std::string> args = {"in/A." + ext};
        std::string script;
        for (const Bad& b : bad) {
            args.push_back("in/" + b.name);
            script += "dialog ok\n";
        }
        args.push_back("in/B." + ext);
        script += "await-idle\nlog-frame\nclose-active\nlog-frame\nclose-active\nlog-frame\nquit\n";

        const ZibRun r = session.run(script, 60, args, session.files());
        ZibSession::expectEndedWell(r);
        const auto messages = r.lines("message: ");
        ASSERT_EQ(messages.size(), bad.size()) << r.output;
        for (size_t i = 0; i < bad.size(); ++i)
            EXPECT_NE(messages[i].find("text=" + std::string(bad[i].message)), std::string::npos)
                << bad[i].name << ": " << messages[i];
        const auto frames = r.lines("frame: ");
        ASSERT_EQ(frames.size(), 3u);
        EXPECT_NE(frames[0].find("title=Zib - B." + ext), std::string::npos) << frames[0];
        EXPECT_NE(frames[1].find("title=Zib - A." + ext), std::string::npos) << frames[1];
        EXPECT_NE(frames[2].find("kind=0"), std::string::npos) << frames[2];
    }
}

} // namespace zib::test
