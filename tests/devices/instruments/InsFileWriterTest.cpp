// The instrument file and the instrument export as text, and reading them back.
#include "devices/core/CInstrumentDefs.h"
#include "devices/core/InsFileWriter.h"

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

    const InstrumentArray back = readBack(text);
    ASSERT_EQ(back.size(), instruments.size());
    for (size_t i = 0; i < back.size(); ++i) {
        const CInsInstrument& was = *instruments[i];
        const CInsInstrument& is = *back[i];
        EXPECT_EQ(is.name, was.name);
        ASSERT_EQ(is.patchLists.size(), was.patchLists.size()) << was.name;
        for (size_t j = 0; j < was.patchLists.size(); ++j) {
            EXPECT_EQ(is.patchLists[j].names, was.patchLists[j].names) << was.name;
            EXPECT_EQ(is.patchLists[j].bank, was.patchLists[j].bank) << was.name;
            EXPECT_EQ(is.patchLists[j].bankText, was.patchLists[j].bankText) << was.name;
        }
        ASSERT_EQ(is.noteLists.size(), was.noteLists.size()) << was.name;
        for (size_t j = 0; j < was.noteLists.size(); ++j)
            EXPECT_EQ(is.noteLists[j].names, was.noteLists[j].names) << was.name;
        EXPECT_EQ(is.controllerLists.at(0).names, was.controllerLists.at(0).names) << was.name;
        EXPECT_EQ(is.drums.size(), was.drums.size()) << was.name;
    }
    // Written again, the file is the same.
    EXPECT_EQ(FormatInstrumentDefinitions(back, "Zib"), text);
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
