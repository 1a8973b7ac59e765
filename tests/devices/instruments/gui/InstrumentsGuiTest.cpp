// The instrument dialogs in the running program: an instrument is imported
// from a real .INS file through Configure Instruments, related to a port and
// channel, and both files are there, beside the settings file, for the next
// start. One test: the runs share one settings folder.
#include "platform/FileIo.h"
#include "platform/FileProfile.h"
#include "tests/app/gui/ZibSession.h"
#include "tests/support/RealFixtures.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zib {
namespace {

using test::ZibRun;
using test::ZibSession;

std::string readText(const std::filesystem::path& path)
{
    std::vector<uint8_t> bytes;
    if (readWholeFile(path, bytes) != FileIoError::None) return {};
    return std::string(bytes.begin(), bytes.end());
}

class InstrumentsGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!session_.displayOk()) GTEST_SKIP() << "Xvfb is not available";
        ins_ = test::realFixturesDir() / "ins" / "K2500.INS";
        if (!std::filesystem::exists(ins_)) GTEST_SKIP() << "no real .INS file";
        // User port 1 plays through device 0, the built-in synthesizer.
        FileProfile settings(session_.settingsFile());
        settings.setString("Settings", "Author", "Tester");
        const uint8_t ports[] = {0, 1};
        settings.setBinary("Settings", "UserMidiOutPorts", ports);
    }

    ZibRun run(const std::string& script)
    {
        ZibRun r = session_.run(script, 60);
        EXPECT_FALSE(r.killed) << r.output;
        EXPECT_FALSE(r.has("TIMEOUT"));
        EXPECT_TRUE(r.line("dialog-timeout").empty());
        EXPECT_EQ(r.output.find("AddressSanitizer"), std::string::npos) << r.output;
        EXPECT_EQ(r.output.find("runtime error:"), std::string::npos) << r.output;
        if (::testing::Test::HasFailure())
            for (const auto& line : r.log)
                ADD_FAILURE() << "log: " << line;
        return r;
    }

    ZibSession session_;
    std::filesystem::path ins_;
    std::filesystem::path config() const { return session_.settingsFile().parent_path(); }
};

TEST_F(InstrumentsGui, AddsAnInstrumentFromAnInsFileAndSavesItsRelation)
{
    // Relation dialog -> Configure... -> Add... -> file -> Add Instruments.
    const ZibRun r = run("menu 32951\n"
                         "dialog log 1949; click 1951; log 1950; select 1311 -1; select 1311 9; select 1950 3; "
                         "log 1950; ok\n"
                         "dialog click 1946; ok\n"
                         "dialog path \"" + ins_.string() + "\"\n"
                         "dialog log 1948; select 1948 0; ok\n");
    EXPECT_TRUE(r.has("menu 32951"));
    EXPECT_TRUE(r.has("dialog: title=Port - Instrument Relation")) << r.output;
    EXPECT_TRUE(r.has("dialog: title=Configure Instruments"));
    EXPECT_TRUE(r.line("file-dialog: title=Import Instrument").find("wildcard=Instrument definition files (*.ins)|") !=
                std::string::npos);
    EXPECT_TRUE(r.has("control 1948: selection=-1 items=Kurzweil K2500 enabled=1"));
    EXPECT_TRUE(r.has("control 1950: selection=3 items=default|General MIDI|General MIDI Drums|Kurzweil K2500 "
                      "enabled=1"));
    EXPECT_EQ(r.line("control 1949:").rfind("control 1949: value=  1 - ", 0), 0u) << r.line("control 1949:");
    EXPECT_TRUE(r.line("message:").empty()) << r.line("message:");

    const std::string icf = readText(config() / "Zib.icf");
    EXPECT_NE(icf.find("\r\n[Kurzweil K2500]\r\nController=Standard\r\nPatch[*]=General MIDI\r\n"
                       "Patch[0]=Kurzweil K2500 ROM Bank 1\r\n"),
              std::string::npos)
        << icf;
    EXPECT_NE(icf.find("\r\n[General MIDI Drums]\r\n"), std::string::npos) << "the supplied instruments stay";
    EXPECT_NE(readText(config() / "zibinstr.ini").find("\r\n0,9=Kurzweil K2500\r\n"), std::string::npos);

    // The next start reads both files: the instrument is offered, the relation shown.
    const ZibRun again = run("menu 32951\ndialog log 1950; select 1311 -1; select 1311 9; log 1950; cancel\n");
    EXPECT_TRUE(again.has("control 1950: selection=0 items=default|General MIDI|General MIDI Drums|Kurzweil K2500 "
                          "enabled=1"));
    EXPECT_TRUE(again.has("control 1950: selection=3 items=default|General MIDI|General MIDI Drums|Kurzweil K2500 "
                          "enabled=1"));
    EXPECT_NE(readText(config() / "zibinstr.ini").find("\r\n0,9=Kurzweil K2500\r\n"), std::string::npos);

    // Without an enabled port the dialog does not open; the relations are
    // written back all the same, unchanged.
    FileProfile settings(session_.settingsFile());
    const uint8_t noPorts[] = {0, 0};
    settings.setBinary("Settings", "UserMidiOutPorts", noPorts);
    const ZibRun closed = run("menu 32951\ndialog ok\n");
    EXPECT_TRUE(closed.has("message: title=Port - Instrument Relation text=There are no selected MIDI OUT ports!!!"))
        << closed.line("message:");
    EXPECT_TRUE(closed.line("dialog: title=Port - Instrument Relation").empty());
    EXPECT_NE(readText(config() / "zibinstr.ini").find("\r\n0,9=Kurzweil K2500\r\n"), std::string::npos);
}

} // namespace
} // namespace zib
