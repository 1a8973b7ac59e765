// The line classifier and the dispatch of the .INS reader.
#include "devices/core/CInsFileReader.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zib {
namespace {

// Classifies `lines` in order and returns the fields of the last one.
InsLineFields classify(const std::vector<std::string>& lines)
{
    CInsFileReader reader;
    for (const auto& line : lines)
        reader.ClassifyInsLine(line);
    return reader.Fields();
}

const std::string kDefs = ".Instrument Definitions";

TEST(InsFileReader, ClassifiesHeadingsAndIgnoredLines)
{
    struct Case {
        std::vector<std::string> lines;
        InsLineKind kind;
        InsSection section;
        InsSubKind subKind;
        std::string name;
    };
    const Case cases[] = {
        {{"   "}, InsLineKind::Empty, InsSection::Other, InsSubKind::None, ""},
        {{" .Patch Names \t"}, InsLineKind::SectionHeading, InsSection::PatchNames, InsSubKind::None, ""},
        {{".patch names"}, InsLineKind::SectionHeading, InsSection::Other, InsSubKind::None, ""},
        {{".NRPN Names"}, InsLineKind::SectionHeading, InsSection::NrpnNames, InsSubKind::None, ""},
        {{kDefs, "[Inst A]"}, InsLineKind::Entry, InsSection::InstrumentDefinitions, InsSubKind::InstrumentHeading,
         "Inst A"},
        {{".Patch Names", "[ Inst A ]\t"}, InsLineKind::ListHeading, InsSection::PatchNames, InsSubKind::None,
         "Inst A"},
        {{kDefs, "[\tInst A ]"}, InsLineKind::Entry, InsSection::InstrumentDefinitions, InsSubKind::InstrumentHeading,
         "Inst A"},
        {{kDefs, "[Inst A"}, InsLineKind::Ignored, InsSection::InstrumentDefinitions, InsSubKind::None, ""},
        {{kDefs, "; Patch[0]=x"}, InsLineKind::Ignored, InsSection::InstrumentDefinitions, InsSubKind::None, ""},
        {{kDefs, "=x"}, InsLineKind::Ignored, InsSection::InstrumentDefinitions, InsSubKind::None, ""},
        {{kDefs, "Name=x"}, InsLineKind::Ignored, InsSection::InstrumentDefinitions, InsSubKind::None, ""},
        {{kDefs, "Patch[0..127]=x"}, InsLineKind::Ignored, InsSection::InstrumentDefinitions, InsSubKind::None, ""},
        {{kDefs, "Patch[]=x"}, InsLineKind::Ignored, InsSection::InstrumentDefinitions, InsSubKind::None, ""},
        {{kDefs, "Key[5]=x"}, InsLineKind::Ignored, InsSection::InstrumentDefinitions, InsSubKind::None, ""},
        {{kDefs, "Key[,5]=x"}, InsLineKind::Ignored, InsSection::InstrumentDefinitions, InsSubKind::None, ""},
        {{kDefs, "Drum[a,5]=1"}, InsLineKind::Ignored, InsSection::InstrumentDefinitions, InsSubKind::None, ""},
        {{kDefs, "RPN=x"}, InsLineKind::Entry, InsSection::InstrumentDefinitions, InsSubKind::Rpn, ""},
        {{kDefs, "NRPN=x"}, InsLineKind::Entry, InsSection::InstrumentDefinitions, InsSubKind::Nrpn, ""},
        {{kDefs, "BankSelMethod=1\t; a note"}, InsLineKind::Entry, InsSection::InstrumentDefinitions,
         InsSubKind::BankSelMethod, ""},
        // Entries of a name list need its heading in the same section.
        {{".Patch Names", "5=Piano"}, InsLineKind::Ignored, InsSection::PatchNames, InsSubKind::None, ""},
        {{".Patch Names", "[A]", ".Note Names", "5=Kick"}, InsLineKind::Ignored, InsSection::NoteNames,
         InsSubKind::None, ""},
        {{".Patch Names", "[A]", "BasedOn=B"}, InsLineKind::Entry, InsSection::PatchNames, InsSubKind::ListEntry, ""},
        {{".RPN Names", "[A]", "BasedOn=B"}, InsLineKind::Ignored, InsSection::RpnNames, InsSubKind::None, ""},
        {{".Patch Names", "[A]", "x5=B"}, InsLineKind::Ignored, InsSection::PatchNames, InsSubKind::None, ""},
        // A number past the largest int makes the line say nothing.
        {{kDefs, "Patch[2147483648]=x"}, InsLineKind::Ignored, InsSection::InstrumentDefinitions, InsSubKind::None,
         ""},
        {{kDefs, "Key[0,99999999999999999999]=x"}, InsLineKind::Ignored, InsSection::InstrumentDefinitions,
         InsSubKind::None, ""},
        {{kDefs, "Drum[99999999999,1]=1"}, InsLineKind::Ignored, InsSection::InstrumentDefinitions, InsSubKind::None,
         ""},
        {{kDefs, "Patch[0]=0..99999999999"}, InsLineKind::Ignored, InsSection::InstrumentDefinitions,
         InsSubKind::None, ""},
        {{kDefs, "Patch[0]=99999999999"}, InsLineKind::Ignored, InsSection::InstrumentDefinitions, InsSubKind::None,
         ""},
        {{".Patch Names", "[A]", "99999999999=B"}, InsLineKind::Ignored, InsSection::PatchNames, InsSubKind::None,
         ""},
        // Blanks are spaces and tabs; other control characters are text.
        {{kDefs, "\vPatch[0]=x"}, InsLineKind::Ignored, InsSection::InstrumentDefinitions, InsSubKind::None, ""},
    };
    for (const auto& c : cases) {
        const InsLineFields f = classify(c.lines);
        const std::string where = c.lines.back();
        EXPECT_EQ(f.kind, c.kind) << where;
        EXPECT_EQ(f.section, c.section) << where;
        EXPECT_EQ(f.subKind, c.subKind) << where;
        EXPECT_EQ(f.name, c.name) << where;
    }
}

TEST(InsFileReader, ClassifiesDefinitionKeysAndValues)
{
    struct Case {
        std::string line;
        InsSubKind subKind;
        int bank, patch;
        std::string keyText;
        InsValueKind value;
        int first, second;
        std::string text;
    };
    const Case cases[] = {
        {"Patch[*]=General MIDI", InsSubKind::Patch, -1, -1, "*", InsValueKind::Text, 0, 0, "General MIDI"},
        {"Patch [ 15488 ] =  GM Bank  ", InsSubKind::Patch, 15488, -1, "15488", InsValueKind::Text, 0, 0, "GM Bank"},
        {"Patch[2147483647]=x", InsSubKind::Patch, 2147483647, -1, "2147483647", InsValueKind::Text, 0, 0, "x"},
        {"Patch[0]=0..127", InsSubKind::Patch, 0, -1, "0", InsValueKind::Range, 0, 127, "0..127"},
        {"Patch[0]= 1 .. 128", InsSubKind::Patch, 0, -1, "0", InsValueKind::Range, 1, 128, "1 .. 128"},
        {"Patch[0]=..", InsSubKind::Patch, 0, -1, "0", InsValueKind::Range, 1, 128, ".."},
        {"Patch[0]=..127", InsSubKind::Patch, 0, -1, "0", InsValueKind::Range, 0, 127, "..127"},
        {"Patch[0]=Strings...", InsSubKind::Patch, 0, -1, "0", InsValueKind::Text, 0, 0, "Strings..."},
        {"Patch[0]=42", InsSubKind::Patch, 0, -1, "0", InsValueKind::Number, 42, 0, "42"},
        {"Patch[0]=", InsSubKind::Patch, 0, -1, "0", InsValueKind::None, 0, 0, ""},
        {"Key[*,*]=Drums", InsSubKind::Key, -1, -1, "*,*", InsValueKind::Text, 0, 0, "Drums"},
        {"Key[0,5]=Kit", InsSubKind::Key, 0, 5, "0,5", InsValueKind::Text, 0, 0, "Kit"},
        {"Key[*,14]=Kit", InsSubKind::Key, -1, 14, "*,14", InsValueKind::Text, 0, 0, "Kit"},
        {"Drum[3,95]=1", InsSubKind::Drum, 3, 95, "3,95", InsValueKind::Number, 1, 0, "1"},
        {"Control=Std", InsSubKind::Controller, -1, -1, "", InsValueKind::Text, 0, 0, "Std"},
        {"Controller=1..128", InsSubKind::Controller, -1, -1, "", InsValueKind::Range, 1, 128, "1..128"},
    };
    for (const auto& c : cases) {
        const InsLineFields f = classify({kDefs, c.line});
        EXPECT_EQ(f.kind, InsLineKind::Entry) << c.line;
        EXPECT_EQ(f.subKind, c.subKind) << c.line;
        if (c.subKind == InsSubKind::Patch) {
            EXPECT_EQ(f.patchBank, c.bank) << c.line;
            EXPECT_EQ(f.patchBankText, c.keyText) << c.line;
        } else if (c.subKind != InsSubKind::Controller) {
            EXPECT_EQ(f.keyBank, c.bank) << c.line;
            EXPECT_EQ(f.keyPatch, c.patch) << c.line;
            EXPECT_EQ(f.keyText, c.keyText) << c.line;
        }
        EXPECT_EQ(f.valueKind, c.value) << c.line;
        if (c.value == InsValueKind::Range || c.value == InsValueKind::Number) {
            EXPECT_EQ(f.firstNumber, c.first) << c.line;
            if (c.value == InsValueKind::Range) {
                EXPECT_EQ(f.secondNumber, c.second) << c.line;
            }
        }
        EXPECT_EQ(f.valueText, c.text) << c.line;
    }
}

TEST(InsFileReader, ClassifiesListEntries)
{
    InsLineFields f = classify({".Patch Names", "[Bank]", "007 = Grand Piano   {{ note }}"});
    EXPECT_EQ(f.subKind, InsSubKind::ListEntry);
    EXPECT_EQ(f.entryNumber, 7);
    EXPECT_EQ(f.entryText, "Grand Piano   {{ note }}");

    f = classify({".Note Names", "[Kit]", "BasedOn=General MIDI Drums"});
    EXPECT_EQ(f.subKind, InsSubKind::ListEntry);
    EXPECT_EQ(f.entryNumber, -1);
    EXPECT_TRUE(f.basedOn);
    EXPECT_EQ(f.entryText, "General MIDI Drums");
}

// A reader that writes down which handler each line reached.
class HandlerLog : public CInsFileReader {
public:
    std::vector<std::string> calls;
    InsFileResult stopAt = InsFileResult::Ok;

protected:
    InsFileResult Log(const char* name)
    {
        calls.push_back(name);
        return calls.size() == 3 ? stopAt : InsFileResult::Ok;
    }
    InsFileResult OnInstrumentDefinitionsHeading() override { return Log("defs"); }
    InsFileResult OnPatchNamesHeading() override { return Log("patch-names"); }
    InsFileResult OnNoteNamesHeading() override { return Log("note-names"); }
    InsFileResult OnControllerNamesHeading() override { return Log("controller-names"); }
    InsFileResult OnRpnNamesHeading() override { return Log("rpn-names"); }
    InsFileResult OnNrpnNamesHeading() override { return Log("nrpn-names"); }
    InsFileResult OnOtherHeading() override { return Log("other"); }
    InsFileResult OnListHeading() override { return Log("list"); }
    InsFileResult OnListEntry() override { return Log("entry"); }
    InsFileResult OnPatchLine() override { return Log("patch"); }
    InsFileResult OnDrumLine() override { return Log("drum"); }
    InsFileResult OnKeyLine() override { return Log("key"); }
    InsFileResult OnControllerLine() override { return Log("controller"); }
    InsFileResult OnRpnLine() override { return Log("rpn"); }
    InsFileResult OnNrpnLine() override { return Log("nrpn"); }
    InsFileResult OnBankSelMethodLine() override { return Log("banksel"); }
    InsFileResult OnInstrumentHeading() override { return Log("instrument"); }
};

TEST(InsFileReader, DispatchesEveryLineToItsHandler)
{
    const std::string text = ".Patch Names\r\n[A]\r\n0=x\r\n\r\n; comment\r\n.Note Names\r\n.Controller Names\r\n"
                             ".RPN Names\r\n.NRPN Names\r\n.Other\r\n.Instrument Definitions\r\n[I]\r\n"
                             "Patch[*]=A\r\nDrum[*,*]=1\r\nKey[*,*]=K\r\nControl=C\r\nRPN=R\r\nNRPN=N\r\n"
                             "BankSelMethod=1";
    HandlerLog reader;
    reader.OpenText(text);
    ASSERT_EQ(reader.ReadInsFile(), InsFileResult::Ok);
    const std::vector<std::string> expected = {
        "patch-names", "list",  "entry", "note-names", "controller-names", "rpn-names", "nrpn-names", "other",
        "defs",        "instrument", "patch", "drum",  "key",        "controller", "rpn", "nrpn", "banksel"};
    EXPECT_EQ(reader.calls, expected);

    // A handler's result stops the reading.
    HandlerLog stopping;
    stopping.stopAt = InsFileResult::SeekFailed;
    stopping.OpenText(text);
    EXPECT_EQ(stopping.ReadInsFile(), InsFileResult::SeekFailed);
    EXPECT_EQ(stopping.calls.size(), 3u);

    // A line too long is cut and reading goes on: a heading cut before its
    // "]" is no heading.
    HandlerLog tooLong;
    tooLong.OpenText(".Patch Names\n[" + std::string(300, 'x') + "]\n[A]\n");
    EXPECT_EQ(tooLong.ReadInsFile(), InsFileResult::Ok);
    EXPECT_EQ(tooLong.calls, (std::vector<std::string>{"patch-names", "list"}));
}

} // namespace
} // namespace zib
