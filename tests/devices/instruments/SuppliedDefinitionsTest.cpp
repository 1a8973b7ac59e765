// The instrument file supplied with the program (data/devices/Zib.icf) and the
// built-in lists every instrument starts with.
#include "devices/core/CInstrumentDefs.h"
#include "devices/core/InsFileWriter.h"

#include "platform/DataDir.h"
#include "platform/FileIo.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

TEST(BuiltInLists, HoldTheGeneralMidiAndStandardNames)
{
    const CInsPatchNames gm = CInsPatchNames::GeneralMidi();
    EXPECT_EQ(gm.name, "General MIDI");
    EXPECT_EQ(gm.bank, -1);
    EXPECT_EQ(gm.bankText, "*");
    const std::pair<int, const char*> programs[] = {
        {0, "Acoustic Grand Piano"}, {3, "Honky-tonk Piano"}, {4, "Rhodes Piano"}, {5, "Chorused Piano"},
        {16, "Hammond Organ"},       {24, "Acoustic Guitar (nylon)"}, {50, "SynthStrings 1"},
        {82, "Lead 3 (calliope lead)"}, {87, "Lead 8 (bass + lead)"}, {103, "FX 8 (sci-fi)"}, {111, "Shanai"},
        {115, "Woodblock"},          {127, "Gunshot"}};
    for (auto [n, name] : programs)
        EXPECT_EQ(gm.names[size_t(n)], name) << n;
    for (const auto& name : gm.names)
        EXPECT_FALSE(name.empty());

    const CInsNoteNames drums = CInsNoteNames::GeneralMidiDrums();
    EXPECT_EQ(drums.name, "General MIDI Drums");
    EXPECT_EQ(drums.keyText, "*,*");
    EXPECT_EQ(drums.basedOn, "none");
    const std::pair<int, const char*> notes[] = {{35, "Acoustic Bass Drum"}, {42, "Close Hi-Hat"}, {52, "Chinese Cymbal"},
                                                 {60, "Hi Bongo"},           {76, "Hi Wood Block"}, {81, "Open Triangle"}};
    for (auto [n, name] : notes)
        EXPECT_EQ(drums.names[size_t(n)], name) << n;
    for (int n = 0; n < 128; ++n)
        EXPECT_EQ(drums.names[size_t(n)].empty(), n < 35 || n > 81) << n;

    const CInsControllerNames standard = CInsControllerNames::Standard();
    EXPECT_EQ(standard.name, "Standard");
    const std::pair<int, const char*> controllers[] = {
        {0, "Bank Select (MSB)"},  {2, "Breath controller (MSB)"}, {11, "Expression (MSB)"}, {32, "Bank Select (LSB)"},
        {42, "Pan position (LSB)"}, {43, "Expression (LSB)"},       {66, "Sustenuto(on/off)"}, {92, "Tremulo Level"},
        {97, "Data Entry -"},      {122, "Local control (on/off)"}, {127, "Poly Operation"}};
    for (auto [n, name] : controllers)
        EXPECT_EQ(standard.names[size_t(n)], name) << n;
    int named = 0;
    for (const auto& name : standard.names)
        named += !name.empty();
    EXPECT_EQ(named, 40);
}

TEST(SuppliedDefinitions, DefineGeneralMidiAndItsDrums)
{
    const auto path = dataFile("devices/Zib.icf");
    std::vector<uint8_t> bytes;
    ASSERT_EQ(readWholeFile(path, bytes), FileIoError::None) << path;
    const std::string text(bytes.begin(), bytes.end());

    InstrumentArray instruments{std::make_shared<CInsInstrument>("default")};
    CInstrumentDefs defs(instruments);
    ASSERT_EQ(defs.CollectNames(path), InsFileResult::Ok);
    ASSERT_EQ(defs.LoadSelected(path), InsFileResult::Ok);
    ASSERT_EQ(instruments.size(), 3u);
    EXPECT_EQ(instruments[1]->name, "General MIDI");
    EXPECT_EQ(instruments[2]->name, "General MIDI Drums");

    const CInsInstrument& gm = *instruments[1];
    EXPECT_EQ(gm.patchLists.at(0).names, CInsPatchNames::GeneralMidi().names);
    EXPECT_TRUE(gm.noteLists.empty());
    const CInsControllerNames& controllers = gm.controllerLists.at(0);
    EXPECT_EQ(controllers.name, "General MIDI Controllers");
    EXPECT_EQ(controllers.names[7], "Channel Volume");
    EXPECT_EQ(controllers.names[64], "Damper Pedal (Sustain)");
    EXPECT_EQ(controllers.names[121], "Reset All Controllers");

    const CInsInstrument& kit = *instruments[2];
    ASSERT_EQ(kit.noteLists.size(), 1u);
    EXPECT_EQ(kit.noteLists[0].names, CInsNoteNames::GeneralMidiDrums().names);
    ASSERT_EQ(kit.drums.size(), 1u);
    EXPECT_EQ(kit.drums[0].keyText, "*,*");

    // The file is what the program writes for this set.
    EXPECT_EQ(FormatInstrumentDefinitions(instruments, "Zib"), text);
}

} // namespace
} // namespace zib
