// Loading instrument definitions: the handlers and the name resolution.
#include "devices/core/CInstrumentDefs.h"

#include <gtest/gtest.h>
#include <string>

namespace zib {
namespace {

// Collects every name of `text` and loads them all into `instruments`.
InsFileResult loadAll(InstrumentArray& instruments, const std::string& text)
{
    CInstrumentDefs defs(instruments);
    if (InsFileResult r = defs.CollectNamesFromText(text); r != InsFileResult::Ok) return r;
    return defs.LoadSelectedFromText(text);
}

InstrumentArray withDefault()
{
    return {std::make_shared<CInsInstrument>("default")};
}

const CInsInstrument& named(const InstrumentArray& instruments, std::string_view name)
{
    const int i = FindInstrument(instruments, name);
    EXPECT_GE(i, 0) << name;
    return *instruments.at(size_t(i < 0 ? 0 : i));
}

TEST(InstrumentDefs, CollectsInstrumentNamesInFileOrder)
{
    InstrumentArray instruments;
    CInstrumentDefs defs(instruments);
    const std::string text = ".Patch Names\n[NotAnInstrument]\n.Instrument Definitions\n[B]\n[A]\n[B]\n"
                             ".Note Names\n[Kit]\n.Instrument Definitions\n[C]\n";
    ASSERT_EQ(defs.CollectNamesFromText(text), InsFileResult::Ok);
    EXPECT_EQ(defs.WantedNames(), (std::vector<std::string>{"B", "A", "B", "C"}));
    EXPECT_TRUE(instruments.empty());

    // Only the names still wanted are loaded.
    defs.WantedNames() = {"A", "C"};
    ASSERT_EQ(defs.LoadSelectedFromText(text), InsFileResult::Ok);
    ASSERT_EQ(instruments.size(), 2u);
    EXPECT_EQ(instruments[0]->name, "A");
    EXPECT_EQ(instruments[1]->name, "C");
}

TEST(InstrumentDefs, PatchLinesNameAndNumberBankLists)
{
    InstrumentArray instruments;
    const std::string text = ".Instrument Definitions\n[Synth]\n"
                             "Patch[*]=General MIDI\n"
                             "Patch[5]=My Bank\n"
                             "Patch[0]=0..127\n"
                             "Patch[1]=1..128\n"
                             "Patch[2]=200..1\n"
                             "Patch[0..127]=Ignored\n"
                             "Patch[7]=Strings...\n"
                             "\n.Patch Names\n[My Bank]\n0=Bright\n127=Dark\n200=Out of range\n";
    ASSERT_EQ(loadAll(instruments, text), InsFileResult::Ok);
    const CInsInstrument& synth = named(instruments, "Synth");
    ASSERT_EQ(synth.patchLists.size(), 6u);

    // List 0 keeps its built-in names without a [General MIDI] list in the file.
    EXPECT_EQ(synth.patchLists[0].name, "General MIDI");
    EXPECT_EQ(synth.patchLists[0].names[0], "Acoustic Grand Piano");

    // The section order does not matter.
    const CInsPatchNames& mine = synth.patchLists[size_t(synth.FindPatchList(5))];
    EXPECT_EQ(mine.name, "My Bank");
    EXPECT_EQ(mine.bankText, "5");
    EXPECT_EQ(mine.names[0], "Bright");
    EXPECT_EQ(mine.names[127], "Dark");
    EXPECT_EQ(mine.names[1], "");

    const CInsPatchNames& zero = synth.patchLists[size_t(synth.FindPatchList(0))];
    EXPECT_EQ(zero.name, "0..127");
    EXPECT_EQ(zero.names[0], "0");
    EXPECT_EQ(zero.names[127], "127");
    const CInsPatchNames& one = synth.patchLists[size_t(synth.FindPatchList(1))];
    EXPECT_EQ(one.name, "1..128");
    EXPECT_EQ(one.names[0], "1");
    EXPECT_EQ(one.names[127], "128");
    // A reversed range numbers 1..128.
    EXPECT_EQ(synth.patchLists[size_t(synth.FindPatchList(2))].name, "1..128");
    // Dots inside a name do not make a range.
    EXPECT_EQ(synth.patchLists[size_t(synth.FindPatchList(7))].name, "Strings...");
}

TEST(InstrumentDefs, PatchListZeroTakesTheFilesGeneralMidiList)
{
    InstrumentArray instruments;
    const std::string text = ".Patch Names\n[General MIDI]\n0=Piano 1\n\n.Instrument Definitions\n[Synth]\n"
                             "Patch[*]=General MIDI\n";
    ASSERT_EQ(loadAll(instruments, text), InsFileResult::Ok);
    const CInsPatchNames& list = named(instruments, "Synth").patchLists[0];
    EXPECT_EQ(list.name, "General MIDI");
    EXPECT_EQ(list.names[0], "Piano 1");
    EXPECT_EQ(list.names[1], "") << "all 128 names come from the file's list";
}

TEST(InstrumentDefs, KeyLinesMakeDrumKitLists)
{
    InstrumentArray instruments;
    const std::string text = ".Instrument Definitions\n[A]\nKey[0,5]=Kit\nKey[*,*]=Drums\n"
                             "[B]\nKey[*,14]=Percussion\nKey[*,*]=All\n"
                             "[C]\nKey[*,*]=1..128\n";
    ASSERT_EQ(loadAll(instruments, text), InsFileResult::Ok);

    const CInsInstrument& a = named(instruments, "A");
    ASSERT_EQ(a.noteLists.size(), 2u);
    EXPECT_EQ(a.noteLists[0].name, "Drums");
    EXPECT_EQ(a.noteLists[0].keyText, "*,*");
    EXPECT_EQ(a.noteLists[0].names[35], "Acoustic Bass Drum") << "made with the General MIDI Drums names";
    EXPECT_EQ(a.noteLists[1].name, "Kit");
    EXPECT_EQ(a.noteLists[1].bank, 0);
    EXPECT_EQ(a.noteLists[1].patch, 5);

    // A list for any bank but one patch is not the any-bank, any-patch list.
    const CInsInstrument& b = named(instruments, "B");
    ASSERT_EQ(b.noteLists.size(), 2u);
    EXPECT_EQ(b.noteLists[0].name, "All");
    EXPECT_EQ(b.noteLists[0].patch, -1);
    EXPECT_EQ(b.noteLists[1].name, "Percussion");
    EXPECT_EQ(b.noteLists[1].keyText, "*,14");
    EXPECT_EQ(b.noteLists[1].patch, 14);

    const CInsInstrument& c = named(instruments, "C");
    ASSERT_EQ(c.noteLists.size(), 1u);
    EXPECT_EQ(c.noteLists[0].name, "1..128");
    EXPECT_EQ(c.noteLists[0].names[35], "36");
}

TEST(InstrumentDefs, DrumLinesMarkAndUnmarkDrumSounds)
{
    InstrumentArray instruments;
    ASSERT_EQ(loadAll(instruments, ".Instrument Definitions\n[A]\nDrum[0,5]=1\nDrum[0,5]=1\nDrum[1,1]=0\n"
                                   "Drum[0,6]=1\nDrum[*,*]=1\nDrum[2,2]=x\n"),
              InsFileResult::Ok);
    const CInsInstrument& a = named(instruments, "A");
    ASSERT_EQ(a.drums.size(), 3u);
    EXPECT_EQ(a.drums[0].keyText, "*,*") << "the any-bank entry goes first";
    EXPECT_EQ(a.drums[1].keyText, "0,5");
    EXPECT_EQ(a.drums[2].keyText, "0,6");

    ASSERT_EQ(loadAll(instruments, ".Instrument Definitions\n[A]\nDrum[0,5]=1\nDrum[0,5]=0\n"), InsFileResult::Ok);
    EXPECT_TRUE(named(instruments, "A").drums.empty());
}

// A single number says nothing about a list: Patch, Key and Controller lines
// with one leave the instrument as if they were not there.
TEST(InstrumentDefs, SingleNumberValuesChangeNothing)
{
    InstrumentArray instruments;
    ASSERT_EQ(loadAll(instruments, ".Instrument Definitions\n[A]\nPatch[*]=5\nPatch[3]=7\nKey[*,*]=9\n"
                                   "Key[1,2]=3\nControl=4\nDrum[4,4]=2\n"),
              InsFileResult::Ok);
    const CInsInstrument& a = named(instruments, "A");
    const CInsInstrument fresh("A");
    ASSERT_EQ(a.patchLists.size(), 1u);
    EXPECT_EQ(a.patchLists[0].name, "General MIDI");
    EXPECT_EQ(a.patchLists[0].names, fresh.patchLists[0].names);
    EXPECT_TRUE(a.noteLists.empty());
    EXPECT_EQ(a.controllerLists.at(0).name, "Standard");
    EXPECT_TRUE(a.drums.empty()) << "a drum value other than 1 adds no entry";
}

// Lists are named without regard to case everywhere: a reference and a
// based-on name find the list whatever its case.
TEST(InstrumentDefs, ListNamesIgnoreCaseAndListsBuildOnOthers)
{
    InstrumentArray instruments;
    const std::string text = ".Patch Names\n[Bank A]\n0=A0\n[Bank B]\nBasedOn=bank a\n1=B1\n"
                             ".Note Names\n[Base Kit]\n35=Kick\n[My Kit]\n"
                             "basedon=x\nBasedOn=BASE KIT\n36=Mine\n.Controller Names\n[Base]\n1=Wheel\n"
                             "[Mine]\nBasedOn=Base\n.Instrument Definitions\n[I]\n"
                             "Patch[0]=bank a\nPatch[1]=Bank B\nKey[0,0]=my kit\nControl=MINE\n";
    ASSERT_EQ(loadAll(instruments, text), InsFileResult::Ok);
    const CInsInstrument& i = named(instruments, "I");
    EXPECT_EQ(i.patchLists[size_t(i.FindPatchList(0))].names[0], "A0");
    // Patch and controller lists may be based on another list too.
    const auto& b = i.patchLists[size_t(i.FindPatchList(1))].names;
    EXPECT_EQ(b[0], "A0");
    EXPECT_EQ(b[1], "B1");
    EXPECT_EQ(i.controllerLists.at(0).names[1], "Wheel");
    const CInsNoteNames& kit = i.noteLists.at(0);
    EXPECT_EQ(kit.names[35], "Kick");
    EXPECT_EQ(kit.names[36], "Mine");
}

TEST(InstrumentDefs, ControllerAndIgnoredLines)
{
    InstrumentArray instruments;
    ASSERT_EQ(loadAll(instruments, ".Controller Names\n[Mine]\n7=Loudness\n300=x\n"
                                   ".Instrument Definitions\n[A]\nControl=Mine\nBankSelMethod=1\nRPN=R\nNRPN=N\n"
                                   "[B]\nController=0..127\n[C]\nBankSelMethod=2\n"),
              InsFileResult::Ok);
    const CInsControllerNames& a = named(instruments, "A").controllerLists.at(0);
    EXPECT_EQ(a.name, "Mine");
    EXPECT_EQ(a.names[7], "Loudness");
    EXPECT_EQ(a.names[0], "");
    EXPECT_EQ(named(instruments, "B").controllerLists.at(0).names[7], "7");

    // BankSelMethod, RPN and NRPN lines change nothing.
    const CInsInstrument& c = named(instruments, "C");
    const CInsInstrument fresh("C");
    EXPECT_EQ(c.patchLists.size(), fresh.patchLists.size());
    EXPECT_EQ(c.controllerLists.at(0).names, fresh.controllerLists.at(0).names);
}

TEST(InstrumentDefs, NoteListsBasedOnAnotherTakeItsNames)
{
    InstrumentArray instruments;
    const std::string text = ".Note Names\n[My Kit]\nBasedOn=General MIDI Drums\n36=Big Kick\n"
                             "[General MIDI Drums]\n35=Kick A\n36=Kick B\n38=Snare\n"
                             ".Instrument Definitions\n[A]\nKey[0,1]=My Kit\n";
    ASSERT_EQ(loadAll(instruments, text), InsFileResult::Ok);
    const CInsNoteNames& kit = named(instruments, "A").noteLists.at(0);
    EXPECT_EQ(kit.names[35], "Kick A");
    EXPECT_EQ(kit.names[36], "Big Kick");
    EXPECT_EQ(kit.names[38], "Snare");
}

TEST(InstrumentDefs, DefaultIsRedefinedButNeverCreatedNorRenamed)
{
    InstrumentArray none;
    ASSERT_EQ(loadAll(none, ".Instrument Definitions\n[default]\nPatch[0]=Bank\n"), InsFileResult::Ok);
    EXPECT_TRUE(none.empty());

    InstrumentArray instruments = withDefault();
    instruments[0]->drums.push_back({1, 1, "1,1"});
    const std::string text = ".Patch Names\n[General MIDI]\n0=Other Piano\n"
                             ".Instrument Definitions\n[default]\nPatch[*]=General MIDI\nPatch[3]=Bank 3\n";
    ASSERT_EQ(loadAll(instruments, text), InsFileResult::Ok);
    ASSERT_EQ(instruments.size(), 1u);
    const CInsInstrument& def = *instruments[0];
    EXPECT_TRUE(def.drums.empty()) << "re-initialised";
    EXPECT_EQ(def.patchLists.size(), 2u);
    EXPECT_EQ(def.patchLists[0].names[0], "Acoustic Grand Piano") << "default keeps its built-in names";
}

TEST(InstrumentDefs, ReloadingAnInstrumentRedefinesIt)
{
    InstrumentArray instruments = withDefault();
    ASSERT_EQ(loadAll(instruments, ".Instrument Definitions\n[Synth]\nPatch[4]=Four\nDrum[1,1]=1\n"),
              InsFileResult::Ok);
    ASSERT_EQ(loadAll(instruments, ".Instrument Definitions\n[SYNTH]\nPatch[5]=Five\n"), InsFileResult::Ok);
    ASSERT_EQ(instruments.size(), 2u);
    const CInsInstrument& synth = *instruments[1];
    EXPECT_EQ(synth.name, "Synth");
    EXPECT_LT(synth.FindPatchList(4), 0);
    EXPECT_GE(synth.FindPatchList(5), 0);
    EXPECT_TRUE(synth.drums.empty());
}

TEST(InstrumentDefs, SecondListHeadingOfOneNameFillsTheFirstList)
{
    InstrumentArray instruments;
    const std::string text = ".Patch Names\n[Bank A]\n0=A0\n[Bank B]\n0=B0\n[bank a]\n1=A1\n"
                             ".Instrument Definitions\n[I]\nPatch[0]=Bank A\nPatch[1]=Bank B\n";
    ASSERT_EQ(loadAll(instruments, text), InsFileResult::Ok);
    const CInsInstrument& i = named(instruments, "I");
    const auto& a = i.patchLists[size_t(i.FindPatchList(0))].names;
    const auto& b = i.patchLists[size_t(i.FindPatchList(1))].names;
    EXPECT_EQ(a[0], "A0");
    EXPECT_EQ(a[1], "A1");
    EXPECT_EQ(b[1], "") << "entries under the repeated heading do not land in the list before it";
}

TEST(InstrumentDefs, MalformedAndUnwantedLinesChangeNothing)
{
    InstrumentArray instruments = withDefault();
    const std::string text = ".Instrument Definitions\n[Inst A\n[]\nPatch[0]=Orphan\n[Real]\nPatch[x]=y\n"
                             ".Patch Names\n[Real]\n-1=neg\n128=big\n";
    ASSERT_EQ(loadAll(instruments, text), InsFileResult::Ok);
    ASSERT_EQ(instruments.size(), 2u) << "no instrument for a heading without its bracket or without a name";
    EXPECT_EQ(instruments[1]->name, "Real");
    EXPECT_EQ(instruments[1]->patchLists.size(), 1u);

    // A name on a line too long is cut at the line's 255th character.
    InstrumentArray cut = withDefault();
    ASSERT_EQ(loadAll(cut, ".Patch Names\n[L]\n5=" + std::string(300, 'x') + "\n6=next\n"
                           ".Instrument Definitions\n[A]\nPatch[*]=L\n"),
              InsFileResult::Ok);
    ASSERT_EQ(cut.size(), 2u);
    EXPECT_EQ(cut[1]->patchLists[0].names[5], std::string(253, 'x'));
    EXPECT_EQ(cut[1]->patchLists[0].names[6], "next");
}

TEST(InstrumentDefs, ImportingLeavesOtherInstrumentsNamesAlone)
{
    InstrumentArray instruments = withDefault();
    ASSERT_EQ(loadAll(instruments, ".Patch Names\n[User]\n0=Mine\n.Instrument Definitions\n[A]\nPatch[1]=User\n"),
              InsFileResult::Ok);
    ASSERT_EQ(loadAll(instruments, ".Patch Names\n[User]\n0=Theirs\n.Instrument Definitions\n[B]\nPatch[1]=User\n"),
              InsFileResult::Ok);
    const CInsInstrument& a = named(instruments, "A");
    const CInsInstrument& b = named(instruments, "B");
    EXPECT_EQ(a.patchLists[1].name, "User");
    EXPECT_EQ(a.patchLists[1].names[0], "Mine");
    // The second list of that name holds other names: it gets a name of its own.
    EXPECT_EQ(b.patchLists[1].name, "User (2)");
    EXPECT_EQ(b.patchLists[1].names[0], "Theirs");

    // A list with the same names keeps its name.
    ASSERT_EQ(loadAll(instruments, ".Patch Names\n[User]\n0=Mine\n.Instrument Definitions\n[C]\nPatch[1]=User\n"),
              InsFileResult::Ok);
    EXPECT_EQ(named(instruments, "C").patchLists[1].name, "User");
}

TEST(InstrumentDefs, EveryNameFitsALineOfTheInstrumentFile)
{
    // The longest names a readable file can hold still make readable lines when written back.
    const std::string longName(244, 'n');
    InstrumentArray instruments = withDefault();
    ASSERT_EQ(loadAll(instruments, ".Patch Names\n[" + longName + "]\n0=A\n.Instrument Definitions\n[A]\n"
                                   "Patch[1]=" + longName + "\nControl=" + std::string(245, 'c') + "\n"),
              InsFileResult::Ok);
    ASSERT_EQ(loadAll(instruments, ".Patch Names\n[" + longName + "]\n0=B\n.Instrument Definitions\n[B]\n"
                                   "Patch[1]=" + longName + "\n"),
              InsFileResult::Ok);
    EXPECT_EQ(named(instruments, "A").controllerLists[0].name, "Standard") << "too long for \"Controller=\"";
    const std::string renamed = named(instruments, "B").patchLists[1].name;
    EXPECT_EQ(renamed.size(), 244u);
    EXPECT_EQ(renamed.substr(240), " (2)");
}

TEST(InstrumentDefs, ReferencesWithNotesFindTheirLists)
{
    InstrumentArray instruments;
    const std::string text = ".Patch Names\n[GM Bank]\n0=Grand Piano   {{ SubGM1=0 }}\n[Drums]\t\n0=Std Kit\n"
                             ".Instrument Definitions\n[J]\nBankSelMethod=0\t\t; MSB and LSB\n"
                             "Patch[15488]=GM Bank           {{ GM_BANK }}\nPatch[15360]=Drums     ; MSB=120\n";
    ASSERT_EQ(loadAll(instruments, text), InsFileResult::Ok);
    const CInsInstrument& j = named(instruments, "J");
    const CInsPatchNames& gm = j.patchLists[size_t(j.FindPatchList(15488))];
    EXPECT_EQ(gm.name, "GM Bank");
    EXPECT_EQ(gm.names[0], "Grand Piano   {{ SubGM1=0 }}");
    const CInsPatchNames& drums = j.patchLists[size_t(j.FindPatchList(15360))];
    EXPECT_EQ(drums.name, "Drums");
    EXPECT_EQ(drums.names[0], "Std Kit");

    EXPECT_EQ(StripInsReferenceNotes("A\t{{x}} B {{y"), "A");
    EXPECT_EQ(StripInsReferenceNotes("Pno ; Str ; note"), "Pno");
    EXPECT_EQ(StripInsReferenceNotes("{{x}} B"), "");
}

} // namespace
} // namespace zib
