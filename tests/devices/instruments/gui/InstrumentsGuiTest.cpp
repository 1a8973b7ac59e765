// The instrument dialogs in the running program: an instrument is imported
// from a real .INS file through Configure Instruments, related to a port and
// channel, and both files are there, beside the settings file, for the next
// start. One test: the runs share one settings folder.
#include "devices/core/CInstrumentDefs.h"
#include "platform/FileIo.h"
#include "platform/FileProfile.h"
#include "tests/devices/DeviceGuiTest.h"
#include "tests/support/CiRun.h"
#include "tests/support/RealFixtures.h"
#include "tests/support/gui/ZibSession.h"

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

class InstrumentsGui : public test::DeviceGuiTest {
protected:
    void SetUp() override
    {
        DeviceGuiTest::SetUp();
        if (IsSkipped()) return;
        ins_ = test::realFixturesDir() / "ins" / "K2500.INS";
        if (!std::filesystem::exists(ins_)) {
            test::reportMissingInCi("the real instrument file " + ins_.string());
            GTEST_SKIP() << "no real .INS file";
        }
    }

    ZibRun run(const std::string& script) { return DeviceGuiTest::run(script, 60); }

    std::filesystem::path ins_;
};

TEST_F(InstrumentsGui, AddsAnInstrumentFromAnInsFileAndSavesItsRelation)
{
    // Relation dialog -> Configure... -> Add... -> file -> Add Instruments.
    const ZibRun r =
        run("menu 32951\n"
            "dialog log 1949; click 1951; log 1950; select 1311 -1; select 1311 9; select 1950 3; "
            "log 1950; ok\n"
            "dialog click 1946; ok\n"
            "dialog path \"" +
            ins_.string() +
            "\"\n"
            "dialog log 1948; select 1948 0; ok\n");
    EXPECT_TRUE(r.has("menu 32951"));
    EXPECT_TRUE(r.has("dialog: title=Port - Instrument Relation")) << r.output;
    EXPECT_TRUE(r.has("dialog: title=Configure Instruments"));
    EXPECT_TRUE(r.line("file-dialog: title=Import Instrument")
                    .find("wildcard=Instrument definition files (*.ins)|") != std::string::npos);
    EXPECT_TRUE(r.has("control 1948: selection=-1 items=Kurzweil K2500 enabled=1"));
    EXPECT_TRUE(
        r.has("control 1950: selection=3 items=default|General MIDI|General MIDI Drums|Kurzweil K2500 "
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
    const ZibRun again =
        run("menu 32951\ndialog log 1950; select 1311 -1; select 1311 9; log 1950; cancel\n");
    EXPECT_TRUE(
        again.has("control 1950: selection=0 items=default|General MIDI|General MIDI Drums|Kurzweil K2500 "
                  "enabled=1"));
    EXPECT_TRUE(
        again.has("control 1950: selection=3 items=default|General MIDI|General MIDI Drums|Kurzweil K2500 "
                  "enabled=1"));
    EXPECT_NE(readText(config() / "zibinstr.ini").find("\r\n0,9=Kurzweil K2500\r\n"), std::string::npos);

    // Without an enabled port the dialog does not open; the relations are
    // written back all the same, unchanged.
    FileProfile settings(session_.settingsFile());
    const uint8_t noPorts[] = {0, 0};
    settings.setBinary("Settings", "UserMidiOutPorts", noPorts);
    const ZibRun closed = run("menu 32951\ndialog ok\n");
    EXPECT_TRUE(
        closed.has("message: title=Port - Instrument Relation text=There are no selected MIDI OUT ports!!!"))
        << closed.line("message:");
    EXPECT_TRUE(closed.line("dialog: title=Port - Instrument Relation").empty());
    EXPECT_NE(readText(config() / "zibinstr.ini").find("\r\n0,9=Kurzweil K2500\r\n"), std::string::npos);
}

// Two instruments in the instrument file: B is extracted and removed through
// the tree's commands; "default" cannot be removed.
TEST_F(InstrumentsGui, TreeShowsRemovesAndExtractsInstruments)
{
    const std::string icf =
        ".Patch Names\r\n[Bank B]\r\n0=B Piano\r\n5=B Organ\r\n.Instrument Definitions\r\n"
        "[default]\r\n[A]\r\nPatch[*]=General MIDI\r\n[B]\r\nPatch[1]=Bank B\r\nDrum[1,0]=1\r\n";
    std::filesystem::create_directories(config());
    ASSERT_EQ(writeFileAtomically(config() / "Zib.icf", icf), FileIoError::None);
    const std::filesystem::path extracted = session_.files() / "b.ins";

    const ZibRun r = run("menu 32951\n"
                         "dialog click 1951; cancel\n"
                         "dialog log 1947; select 1947 B; command 32773; command 32777; select 1947 default; "
                         "command 32777; log 1947; ok\n"
                         "dialog path \"" +
                         extracted.string() + "\"\n");
    const auto trees = r.lines("control 1947:");
    ASSERT_EQ(trees.size(), 2u);
    EXPECT_EQ(trees[0].rfind("control 1947: items=0:Instruments|1:default|2:Patch Names|3:(*) - General MIDI|"
                             "2:Note Names|2:Controller Names|3:Standard|1:A|",
                             0),
              0u)
        << trees[0];
    EXPECT_NE(trees[0].find("|1:B|2:Patch Names|3:(*) - General MIDI|3:1 - Bank B|2:Note Names|"),
              std::string::npos)
        << trees[0];
    EXPECT_EQ(trees[1].find("1:B|"), std::string::npos) << trees[1];
    EXPECT_NE(trees[1].find("1:default|"), std::string::npos) << "default stays";
    EXPECT_TRUE(r.has("file-dialog: title=Extract Instrument definition dir= filter=0 "
                      "wildcard=Instrument definition files (*.INS)|*.INS;*.ins"))
        << r.line("file-dialog:");

    // The file lost B at once; the extracted file holds B and reads back as it was.
    const std::string saved = readText(config() / "Zib.icf");
    EXPECT_NE(saved.find("\r\n[A]\r\n"), std::string::npos);
    EXPECT_EQ(saved.find("[B]"), std::string::npos);
    const std::string exported = readText(extracted);
    EXPECT_EQ(exported.rfind("; Instrument definition file for instrument: B \r\n", 0), 0u) << exported;
    auto load = [](const std::string& text) {
        InstrumentArray instruments{std::make_shared<CInsInstrument>("default")};
        CInstrumentDefs defs(instruments);
        EXPECT_EQ(defs.CollectNamesFromText(text), InsFileResult::Ok);
        EXPECT_EQ(defs.LoadSelectedFromText(text), InsFileResult::Ok);
        return instruments;
    };
    const InstrumentArray before = load(icf);
    const InstrumentArray after = load(exported);
    const CInsInstrument& b = *before.at(size_t(FindInstrument(before, "B")));
    ASSERT_GE(FindInstrument(after, "B"), 0);
    const CInsInstrument& back = *after.at(size_t(FindInstrument(after, "B")));
    ASSERT_EQ(back.patchLists.size(), b.patchLists.size());
    for (size_t i = 0; i < b.patchLists.size(); ++i) {
        EXPECT_EQ(back.patchLists[i].name, b.patchLists[i].name);
        EXPECT_EQ(back.patchLists[i].names, b.patchLists[i].names);
    }
    EXPECT_EQ(back.drums.size(), 1u);
}

} // namespace
} // namespace zib
