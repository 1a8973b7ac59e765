#include "app/core/ChordTableSettingsModel.h"
#include "app/core/KeyChordSettingsModel.h"
#include "app/core/MidiToStySettingsModel.h"
#include "app/core/StyToMidiMethodDlgModel.h"
#include "ui/core/LetterStrings.h"
#include "ui/core/SettingsCommands.h"
#include "tests/support/MemoryProfile.h"

#include <gtest/gtest.h>

using namespace zib;
using test::MemoryProfile;

namespace {

using Chosen = std::vector<std::string>;

// The texts the boxes of a chord-table page show for its element.
Chosen shown(const ChordTableSettingsModel& m)
{
    Chosen out;
    for (int t = 0; t < m.ChordTypeCount(); ++t)
        out.push_back(m.Selected(t));
    return out;
}

Chosen shown(const KeyChordSettingsModel& m)
{
    Chosen out;
    for (int cv = 0; cv < KeyChordSettingsModel::kBoxCount; ++cv)
        out.push_back(m.Selected(cv));
    return out;
}

std::string withLetter(std::string text, size_t at, char letter)
{
    text[at] = letter;
    return text;
}

} // namespace

TEST(ConversionSettingsTexts, LettersAndTablesConvertByteForByte)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> (*toTable)(std::string_view);
        std::string (*toText)(std::span<const uint8_t>);
        LetterTable table;
    } cases[] = {
        {"ChordTable", ChordTableSettingsModel::TextToChordTable, ChordTableSettingsModel::ChordTableToText,
         LetterTable::ChordTable},
        {"QeChordTable", ChordTableSettingsModel::TextToQeChordTable,
         ChordTableSettingsModel::QeChordTableToText, LetterTable::QeChordTable},
        {"KeyChord", KeyChordSettingsModel::TextToKeyChord, KeyChordSettingsModel::KeyChordToText,
         LetterTable::KeyChord},
        {"QeKeyChord", KeyChordSettingsModel::TextToQeKeyChord, KeyChordSettingsModel::QeKeyChordToText,
         LetterTable::QeKeyChord},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string def(DefaultLetters(c.table));
        const auto bytes = c.toTable(def);
        ASSERT_EQ(bytes.size(), def.size());
        for (size_t i = 0; i < def.size(); ++i)
            EXPECT_EQ(bytes[i], def[i] - 'A');
        EXPECT_EQ(c.toText(bytes), def);
        // Damaged letters are carried through unchanged, not validated here.
        const std::string damaged = withLetter(withLetter(def, 0, 'z'), 1, '0');
        EXPECT_EQ(c.toText(c.toTable(damaged)), damaged);
        // Letters past the table are not read; a short text is completed from the default.
        EXPECT_EQ(c.toText(c.toTable(def + "QQ")), def);
        EXPECT_EQ(c.toText(c.toTable("DD")), "DD" + def.substr(2));
        EXPECT_EQ(c.toText(c.toTable("")), def);
    }
}

TEST(ChordTableSettingsModel, LoadsTheTableAndShowsTheChosenElement)
{
    const std::string def(DefaultLetters(LetterTable::ChordTable));
    ChordTableSettingsModel m(ConversionSeries::Wq, def, 1);
    EXPECT_EQ(m.CheckedDeterminationRadio(), ChordTableSettingsModel::kLetApplicationRadio);
    EXPECT_FALSE(m.ElementsEnabled());
    EXPECT_EQ(m.element(), 0);
    EXPECT_EQ(m.ElementRadioId(9), 1010);
    EXPECT_EQ(m.ComboId(19), 1602);
    EXPECT_EQ(ChordTableSettingsModel::ChordLabel(12), "7:");
    EXPECT_EQ(m.Choices(), (Chosen{"CV1", "CV2", "CV3", "CV4", "CV5", "CV6"}));
    // VAR: Major CV1, Maj6 CV3, min CV2.
    EXPECT_EQ(m.Selected(0), "CV1");
    EXPECT_EQ(m.Selected(1), "CV3");
    EXPECT_EQ(m.Selected(7), "CV2");

    ChordTableSettingsModel qe(ConversionSeries::Qe, DefaultLetters(LetterTable::QeChordTable), 0);
    EXPECT_EQ(qe.CheckedDeterminationRadio(), ChordTableSettingsModel::kAcceptUserRadio);
    EXPECT_TRUE(qe.ElementsEnabled());
    EXPECT_EQ(qe.ChordTypeCount(), 22);
    EXPECT_EQ(qe.ElementRadioId(11), 1650);
    EXPECT_EQ(qe.ComboId(21), 1672);
    EXPECT_EQ(ChordTableSettingsModel::ChordLabel(21), "No3rdNo5th:");
}

TEST(ChordTableSettingsModel, StoresTheChosenCvOfTheShownElement)
{
    const std::string def(DefaultLetters(LetterTable::ChordTable));
    ChordTableSettingsModel m(ConversionSeries::Wq, def, 0);
    Chosen chosen = shown(m);
    chosen[2] = "CV4"; // Maj7 of VAR1
    chosen[3] = "";    // nothing chosen: CV1
    chosen[4] = "CV9"; // no such entry: CV1
    m.ChooseElement(4, chosen);
    EXPECT_EQ(m.table()[2], 3);
    EXPECT_EQ(m.table()[3], 0);
    EXPECT_EQ(m.table()[4], 0);
    EXPECT_EQ(m.element(), 4);
    EXPECT_EQ(m.Choices(), (Chosen{"CV1", "CV2"}));
    EXPECT_EQ(m.Selected(7), "CV2");

    // INT1: min to CV1, then OK stores INT1 and the determination of the checked radio.
    chosen = shown(m);
    chosen[7] = "CV1";
    m.Ok(chosen, ChordTableSettingsModel::kLetApplicationRadio);
    EXPECT_EQ(m.table()[4 * 20 + 7], 0);
    EXPECT_EQ(m.determination(), 1);
    std::string expected = def;
    expected[2] = 'D';
    expected[3] = 'A';
    expected[4] = 'A';
    expected[4 * 20 + 7] = 'A';
    EXPECT_EQ(m.Letters(), expected);

    // Out-of-range elements are ignored; the radios switch the determination at once.
    m.ChooseElement(10, shown(m));
    EXPECT_EQ(m.element(), 4);
    m.ChooseDetermination(ChordTableSettingsModel::kAcceptUserRadio);
    EXPECT_TRUE(m.ElementsEnabled());
}

TEST(ChordTableSettingsModel, OkWithoutChangesWritesBackWhatItWasGiven)
{
    struct Case {
        ConversionSeries series;
        std::string letters;
        int determination;
        int radio;
    } cases[] = {
        {ConversionSeries::Wq, std::string(DefaultLetters(LetterTable::ChordTable)), 1,
         ChordTableSettingsModel::kLetApplicationRadio},
        {ConversionSeries::Wq, std::string(200, 'B'), 0, ChordTableSettingsModel::kAcceptUserRadio},
        {ConversionSeries::Qe, std::string(DefaultLetters(LetterTable::QeChordTable)), 1,
         ChordTableSettingsModel::kLetApplicationRadio},
        {ConversionSeries::Qe, withLetter(std::string(264, 'A'), 5, 'F'), 0,
         ChordTableSettingsModel::kAcceptUserRadio},
    };
    for (const auto& c : cases) {
        ChordTableSettingsModel m(c.series, c.letters, c.determination);
        // Disabled boxes keep their values: "Let application determine" still stores the table.
        m.Ok(shown(m), m.CheckedDeterminationRadio());
        EXPECT_EQ(m.Letters(), c.letters);
        EXPECT_EQ(m.determination(), c.radio == ChordTableSettingsModel::kAcceptUserRadio ? 0 : 1);
    }
}

TEST(ChordTableSettingsModel, DamagedValuesSelectNothingAndAreStoredAsCv1)
{
    // VAR1 Major = 'G' (CV7), INT1 Major = 'C' (CV3, which INT1 does not have),
    // VAR2 Major = '!' (below 'A'), never shown: kept as it was.
    std::string letters(DefaultLetters(LetterTable::ChordTable));
    letters[0] = 'G';
    letters[80] = 'C';
    letters[20] = '!';
    ChordTableSettingsModel m(ConversionSeries::Wq, letters, 0);
    EXPECT_EQ(m.Selected(0), "");
    m.ChooseElement(4, shown(m));
    EXPECT_EQ(m.table()[0], 0);
    EXPECT_EQ(m.Selected(0), "");
    m.Ok(shown(m), ChordTableSettingsModel::kAcceptUserRadio);
    EXPECT_EQ(m.table()[80], 0);
    EXPECT_EQ(m.Letters()[20], '!');
}

TEST(KeyChordSettingsModel, ListsEveryKeyAndStoresTheValueOfTheChosenName)
{
    KeyChordSettingsModel wq(ConversionSeries::Wq, DefaultLetters(LetterTable::KeyChord), 0);
    ASSERT_EQ(wq.Choices().size(), 24u);
    EXPECT_EQ(wq.Choices()[3], "C#min");
    EXPECT_EQ(shown(wq), (Chosen{"CMajor", "Cmin", "CMajor", "CMajor", "CMajor", "CMajor"}));
    Chosen chosen = shown(wq);
    chosen[5] = "Amin";
    wq.Ok(chosen, KeyChordSettingsModel::kAcceptUserRadio);
    EXPECT_EQ(wq.table()[5], 19);
    EXPECT_EQ(KeyChordSettingsModel::CvLabel(5), "CV6: ");
    EXPECT_EQ(KeyChordSettingsModel::ComboId(5), 1630);

    KeyChordSettingsModel qe(ConversionSeries::Qe, DefaultLetters(LetterTable::QeKeyChord), 0);
    ASSERT_EQ(qe.Choices().size(), 264u);
    EXPECT_EQ(qe.Choices()[1], "CMaj6");
    EXPECT_EQ(qe.Choices()[21], "CNo3rdNo5th");
    EXPECT_EQ(qe.Choices()[22], "C#Major");
    EXPECT_EQ(qe.Choices().back(), "BNo3rdNo5th");
    EXPECT_EQ(qe.ElementRadioId(0), 1639);
    EXPECT_EQ(qe.Selected(1), "Cmin");
    // Element 11 (INT3): slot 11 * 2 + 16 = 38, bytes 76 and 77.
    qe.ChooseElement(11, shown(qe));
    chosen = shown(qe);
    chosen[1] = "ANo3rd";
    qe.Ok(chosen, KeyChordSettingsModel::kAcceptUserRadio);
    EXPECT_EQ(qe.table()[78], 9);
    EXPECT_EQ(qe.table()[79], 20);
}

TEST(KeyChordSettingsModel, BoxesFollowTheElementAndTheDetermination)
{
    KeyChordSettingsModel m(ConversionSeries::Wq, DefaultLetters(LetterTable::KeyChord), 0);
    Chosen chosen = shown(m);
    chosen[4] = "DMajor";
    m.ChooseElement(4, chosen); // VAR1 -> INT1
    for (int cv = 0; cv < 6; ++cv)
        EXPECT_EQ(m.BoxEnabled(cv), cv < 2) << cv;
    EXPECT_EQ(m.Selected(2), "");
    // The VAR1 values of the disabled boxes stay as chosen.
    Chosen stale = shown(m);
    stale[2] = stale[3] = stale[4] = stale[5] = "BMajor";
    m.Ok(stale, KeyChordSettingsModel::kAcceptUserRadio);
    EXPECT_EQ(m.table()[4], 4);
    EXPECT_EQ(m.table()[2], 0);

    m.ChooseDetermination(KeyChordSettingsModel::kLetApplicationRadio);
    EXPECT_FALSE(m.ElementsEnabled());
    for (int cv = 0; cv < 6; ++cv)
        EXPECT_FALSE(m.BoxEnabled(cv));
    // Back to user-defined with INT1 shown: only CV1 and CV2.
    m.ChooseDetermination(KeyChordSettingsModel::kAcceptUserRadio);
    EXPECT_TRUE(m.ElementsEnabled());
    EXPECT_TRUE(m.BoxEnabled(1));
    EXPECT_FALSE(m.BoxEnabled(2));
}

TEST(KeyChordSettingsModel, DamagedValuesShowCMajorAndUntouchedTablesComeBackUnchanged)
{
    const std::string wq(DefaultLetters(LetterTable::KeyChord));
    const std::string qe(DefaultLetters(LetterTable::QeKeyChord));
    struct Case {
        ConversionSeries series;
        std::string letters;
        int damagedCv;        // -1: nothing damaged
        std::string expected; // after OK on the shown element (VAR1)
    } cases[] = {
        // Wq key 24; Qe key 12; Qe chord 22: shown as CMajor and stored so.
        {ConversionSeries::Wq, withLetter(wq, 2, 'Y'), 2, wq},
        {ConversionSeries::Qe, withLetter(qe, 4, 'M'), 2, qe},
        {ConversionSeries::Qe, withLetter(qe, 7, 'W'), 3, withLetter(qe, 7, 'A')},
        // A damaged value of an element never shown stays as it was.
        {ConversionSeries::Wq, withLetter(wq, 30, 'Z'), -1, withLetter(wq, 30, 'Z')},
        {ConversionSeries::Qe, qe, -1, qe},
        {ConversionSeries::Wq, "ABCDEFGHIJKLMNOPQRSTUVWXABCDEFGHIJKL", -1,
         "ABCDEFGHIJKLMNOPQRSTUVWXABCDEFGHIJKL"},
    };
    for (const auto& c : cases) {
        KeyChordSettingsModel m(c.series, c.letters, 1);
        if (c.damagedCv >= 0) {
            EXPECT_EQ(m.Selected(c.damagedCv), "CMajor");
        }
        m.Ok(shown(m), m.CheckedDeterminationRadio());
        EXPECT_EQ(m.determination(), 1);
        EXPECT_EQ(m.Letters(), c.expected);
    }
}

TEST(SmallConversionSettingsModels, IgnoreFlagsAndStyleToMidiMethod)
{
    MidiToStySettingsModel flags;
    flags.flags = 0xF5; // bits above 3 are cleared on OK
    EXPECT_EQ(std::vector<bool>({flags.CheckedAtStart(0), flags.CheckedAtStart(1), flags.CheckedAtStart(2),
                                 flags.CheckedAtStart(3), flags.CheckedAtStart(4)}),
              std::vector<bool>({true, false, true, false, false}));
    flags.Ok({true, false, true, false});
    EXPECT_EQ(flags.flags, 5u);
    flags.Ok({false, true, false, true});
    EXPECT_EQ(flags.flags, 10u);

    struct Case {
        uint32_t method;
        int checkedAtStart;
        int checked;
        uint32_t stored;
    } cases[] = {
        {0, 1637, 1637, 0},
        {0, 1637, 1638, 1},
        {1, 1638, 1637, 0},
        {7, 1638, 1638, 1},
    };
    for (const auto& c : cases) {
        StyToMidiMethodDlgModel m;
        m.method = c.method;
        EXPECT_EQ(m.CheckedAtStart(), c.checkedAtStart);
        m.Ok(c.checked);
        EXPECT_EQ(m.method, c.stored);
    }
}

TEST(ConversionSettingsSheets, CancelLeavesTheSettingsAndOkStoresThePages)
{
    MemoryProfile p;
    ZibSettings s(p);
    s.LoadSettings(1, 1);
    const std::string chordTable = s.ChordTable;
    // A sheet run on the page models: VAR1 Maj6 to CV2, ignore flags 3; `confirm` is the button.
    auto sheet = [](bool confirm) {
        return [confirm](WqConversionValues& v, const ApplyValues<WqConversionValues>&) {
            ChordTableSettingsModel chords(ConversionSeries::Wq, v.ChordTable, v.ChordDetermination);
            KeyChordSettingsModel keys(ConversionSeries::Wq, v.KeyChord, v.KeyChordDetermination);
            MidiToStySettingsModel ignore{uint32_t(v.Midi2StyIgnoreFlags)};
            Chosen chosen = shown(chords);
            chosen[1] = "CV2";
            chords.Ok(chosen, ChordTableSettingsModel::kAcceptUserRadio);
            keys.Ok(shown(keys), keys.CheckedDeterminationRadio());
            ignore.Ok({true, true, false, false});
            if (!confirm) return false;
            v = {chords.Letters(), chords.determination(), keys.Letters(), keys.determination(),
                 int(ignore.flags)};
            return true;
        };
    };
    EXPECT_FALSE(RunWqConversionSettingsCommand(s, sheet(false)));
    EXPECT_TRUE(p.writes.empty());
    EXPECT_EQ(s.ChordTable, chordTable);

    EXPECT_TRUE(RunWqConversionSettingsCommand(s, sheet(true)));
    EXPECT_EQ(p.getString("Settings", "ChordTable"), withLetter(chordTable, 1, 'B'));
    EXPECT_EQ(p.getInt("Settings", "ChordDetermination"), 0);
    EXPECT_EQ(p.getString("Settings", "KeyChord"), std::string(DefaultLetters(LetterTable::KeyChord)));
    EXPECT_EQ(p.getInt("Settings", "KeyChordDetermination"), 1);
    EXPECT_EQ(p.getInt("Settings", "Midi2StyIgnoreFlags"), 3);
}
