// The instrument file and the instrument export as text, and reading them back.
#include "devices/core/CInstrumentDefs.h"
#include "devices/core/InsFileWriter.h"
#include "tests/devices/instruments/SameInstruments.h"

#include <gtest/gtest.h>
#include <string>

namespace zib {
namespace {

const std::string kSeparator = "; " + std::string(79, '-') + "\r\n\r\n";

InstrumentArray readBack(const std::string& text)
{
    InstrumentArray instruments{std::make_shared<CInsInstrument>("default")};
    CInstrumentDefs defs(instruments);
    EXPECT_EQ(defs.CollectNamesFromText(text), InsFileResult::Ok);
    EXPECT_EQ(defs.LoadSelectedFromText(text), InsFileResult::Ok);
    return instruments;
}

// A small instrument: one bank list, one drum kit, one drum entry.
std::shared_ptr<CInsInstrument> smallSynth()
{
    auto synth = std::make_shared<CInsInstrument>("Synth");
    synth->controllerLists[0] = CInsControllerNames();
    synth->controllerLists[0].name = "Ctl";
    synth->controllerLists[0].names[7] = "Vol";
    synth->patchLists[0] = CInsPatchNames();
    synth->patchLists[0].name = "Any";
    synth->patchLists[0].names[0] = "P0";
    CInsPatchNames bank;
    bank.name = "Bank 2";
    bank.bank = 2;
    bank.bankText = "2";
    bank.names[127] = "Last";
    synth->patchLists.push_back(bank);
    CInsNoteNames kit;
    kit.name = "Kit";
    kit.bank = 2;
    kit.patch = 0;
    kit.keyText = "2,0";
    kit.names[36] = "Kick";
    synth->noteLists.push_back(kit);
    synth->drums.push_back({2, 0, "2,0"});
    return synth;
}

TEST(InsFileWriter, WritesTheInstrumentFileLayout)
{
    const InstrumentArray instruments{smallSynth()};
    const std::string expected = "; Instrument definition file for Zib application\r\n\r\n" + kSeparator +
                                 ".Patch Names\r\n\r\n[Any]\r\n0=P0\r\n\r\n[Bank 2]\r\n127=Last\r\n\r\n" +
                                 kSeparator + ".Note Names\r\n\r\n[Kit]\r\n36=Kick\r\n\r\n" + kSeparator +
                                 ".Controller Names\r\n\r\n[Ctl]\r\n7=Vol\r\n\r\n" + kSeparator +
                                 ".RPN Names\r\n\r\n" + kSeparator + ".NRPN Names\r\n\r\n" + kSeparator +
                                 ".Instrument Definitions\r\n\r\n[Synth]\r\nController=Ctl\r\nPatch[*]=Any\r\n"
                                 "Patch[2]=Bank 2\r\nKey[2,0]=Kit\r\nDrum[2,0]=1\r\n";
    EXPECT_EQ(FormatInstrumentDefinitions(instruments, "Zib"), expected);

    // Without instruments only the heading is written.
    EXPECT_EQ(FormatInstrumentDefinitions({}, "Zib"), "; Instrument definition file for Zib application\r\n\r\n");
}

TEST(InsFileWriter, WritesEachListNameOnceAndReadsEveryInstrumentBack)
{
    InstrumentArray instruments{std::make_shared<CInsInstrument>("default"), std::make_shared<CInsInstrument>("A"),
                                std::make_shared<CInsInstrument>("B"), smallSynth()};
    instruments[2]->patchLists[0].name = "GENERAL MIDI";
    const std::string text = FormatInstrumentDefinitions(instruments, "Zib");
    size_t count = 0;
    for (size_t at = text.find("\r\n[General MIDI]\r\n"); at != std::string::npos;
         at = text.find("\r\n[General MIDI]\r\n", at + 1))
        ++count;
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(text.find("[GENERAL MIDI]\r\n0="), std::string::npos);

    test::expectSameInstruments(readBack(text), instruments);
}

// Instruments read from a user's file, written as the instrument file and read
// back, hold the same lists with the same names, whatever made them: a list
// numbered by a range and renamed, a list of the name-list sections, or the
// built-in names. "default" takes no names from the sections, so its lists
// are the cases that matter.
TEST(InsFileWriter, EveryListKindReadsBackWithTheUsersNames)
{
    struct Case {
        std::string text;
        size_t instrument;
        std::string list; // "patch", "note" or "controller" list 0 ...
        std::string name;
        std::string firstName; // ... its name and its name 0 after the trip
    };
    const std::string defs = ".Instrument Definitions\n[default]\n";
    const Case cases[] = {
        {defs + "Patch[*]=2..128\nPatch[*]=General MIDI\n", 0, "patch", "General MIDI", "1"},
        {defs + "Control=0..127\nControl=My Names\n", 0, "controller", "My Names", "0"},
        {defs + "Key[*,*]=0..127\nKey[*,*]=My Drums\n", 0, "note", "My Drums", "0"},
        {defs + "Patch[5]=1..128\nPatch[5]=Bank Five\n", 0, "patch 5", "Bank Five", "1"},
        {defs + "Key[0,25]=0..127\nKey[0,25]=Kit\n", 0, "note", "Kit", "0"},
        {defs + "Patch[*]=..\n", 0, "patch", "1..128", "1"},
        {defs + "Patch[*]=Piano Names\nControl=Mine\n", 0, "patch", "Piano Names", "Acoustic Grand Piano"},
        {defs + "RPN=Std\nNRPN=Std\nBankSelMethod=1\n", 0, "controller", "Standard", "Bank Select (MSB)"},
        // Another instrument's list of the same name holds other names.
        {".Patch Names\n[General MIDI]\n0=Piano\n" + defs +
             "Patch[*]=0..127\nPatch[*]=General MIDI\n[Synth]\nPatch[*]=General MIDI\n",
         1, "patch", "General MIDI (2)", "Piano"},
        {".Patch Names\n[General MIDI]\n0=Piano\n" + defs +
             "Patch[*]=0..127\nPatch[*]=General MIDI\n[Synth]\nPatch[*]=General MIDI\n",
         0, "patch", "General MIDI", "0"},
        {".Note Names\n[Kit]\n0=Zero\n.Controller Names\n[Ctl]\n0=Ctl Zero\n"
         ".Instrument Definitions\n[Synth]\nKey[*,*]=1..128\nKey[*,*]=Kit\nControl=Ctl\n",
         1, "controller", "Ctl", "Ctl Zero"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const InstrumentArray loaded = readBack(c.text);
        const std::string written = FormatInstrumentDefinitions(loaded, "Zib");
        const InstrumentArray back = readBack(written);
        test::expectSameInstruments(back, loaded);
        ASSERT_GT(back.size(), c.instrument);
        const CInsInstrument& instrument = *back[c.instrument];
        std::string name, first;
        if (c.list == "controller") {
            name = instrument.controllerLists.at(0).name;
            first = instrument.controllerLists.at(0).names[0];
        } else if (c.list == "note") {
            name = instrument.noteLists.at(0).name;
            first = instrument.noteLists.at(0).names[0];
        } else {
            const int i = c.list == "patch" ? 0 : instrument.FindPatchList(std::stoi(c.list.substr(6)));
            ASSERT_GE(i, 0);
            name = instrument.patchLists[size_t(i)].name;
            first = instrument.patchLists[size_t(i)].names[0];
        }
        EXPECT_EQ(name, c.name);
        EXPECT_EQ(first, c.firstName);
    }
}

// Headings real files get wrong: a blank before "]", "[" inside a name, no
// name, a name twice. What they define is read, and written back whole.
TEST(InsFileWriter, OddHeadingsReadAsFarAsTheyGoAndWriteBackWhole)
{
    const std::string text = ".Patch Names\r\n[XG Bank 1 ]\r\n0=Grand\r\n[A[B]\r\n0=Bracket\r\n[]\r\n0=Nameless\r\n"
                             "[Dup]\r\n0=First\r\n[DUP]\r\n1=Second\r\n"
                             ".Instrument Definitions\r\n[ XG ]\r\nPatch[1]=XG Bank 1\r\nPatch[2]=A[B\r\n"
                             "Patch[3]=Dup\r\n[]\r\nPatch[4]=Nameless\r\n[Twice]\r\nPatch[5]=Dup\r\n"
                             "[Twice]\r\nPatch[6]=Dup\r\n";
    const InstrumentArray loaded = readBack(text);
    ASSERT_EQ(loaded.size(), 3u) << "default, XG and Twice; a heading without a name makes no instrument";
    const CInsInstrument& xg = *loaded[1];
    EXPECT_EQ(xg.name, "XG");
    auto firstNames = [&xg](int bank) {
        const int i = xg.FindPatchList(bank);
        return i < 0 ? std::string("no list") : xg.patchLists[size_t(i)].names[0] + xg.patchLists[size_t(i)].names[1];
    };
    EXPECT_EQ(firstNames(1), "Grand");
    EXPECT_EQ(firstNames(2), "Bracket");
    EXPECT_EQ(firstNames(3), "FirstSecond") << "a list heading met twice goes on filling the list";
    const CInsInstrument& twice = *loaded[2];
    EXPECT_LT(twice.FindPatchList(5), 0) << "an instrument met twice is the one of its last heading";
    EXPECT_GE(twice.FindPatchList(6), 0);

    test::expectSameInstruments(readBack(FormatInstrumentDefinitions(loaded, "Zib")), loaded);
}

TEST(InsFileWriter, ExportsOneInstrument)
{
    auto synth = smallSynth();
    CInsPatchNames again;
    again.name = "any";
    again.bank = 3;
    again.bankText = "3";
    synth->patchLists.push_back(again);
    const std::string text = FormatInstrumentExport(*synth);
    EXPECT_EQ(text.substr(0, text.find(kSeparator)), "; Instrument definition file for instrument: Synth \r\n\r\n");
    EXPECT_NE(text.find(".Patch Names\r\n\r\n[Any]\r\n0=P0\r\n\r\n[Bank 2]\r\n127=Last\r\n\r\n" + kSeparator),
              std::string::npos)
        << "a list named like an earlier one of the instrument is written once";
    EXPECT_NE(text.find("Patch[3]=any\r\n"), std::string::npos);

    // The export imports into another program as the same instrument.
    const InstrumentArray back = readBack(text);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[1]->patchLists.size(), 3u);
    EXPECT_EQ(back[1]->noteLists.at(0).names[36], "Kick");
}

} // namespace
} // namespace zib
