// The sound lists of both series, the sound choice and the track
// parameters dialog without their windows.
#include "docs/style/core/CQeSoundTables.h"
#include "docs/style/core/QeSoundList.h"
#include "docs/style/core/SoundSelectDlgModel.h"
#include "docs/style/core/TrackParamsDlgModel.h"
#include "tests/support/FakeQeStyleEditor.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

using test::FakeQeStyleEditor;
using Strings = std::vector<std::string>;

uint32_t sound(int msb, int lsb, int program)
{
    return uint32_t(msb) << 24 | uint32_t(lsb) << 16 | uint32_t(program);
}

TEST(QeSoundList, EachSeriesInItsOrderWithTrimmedNames)
{
    const CQeSoundTables& tables = CQeSoundTables::BuiltIn();
    ASSERT_TRUE(tables.Problems().empty());
    const struct {
        int series;
        size_t size;
        std::vector<std::pair<size_t, std::string>> rows; // index, name
    } cases[] = {
        {0, 983, {{128, "UserDrum00"}, {191, "UserDrum63"}, {192 + 663, "User1Prg00"}, {982, "User2Prg63"}}},
        {1, 1916, {{128, "UserDrum00"}, {192, "EXB1UserDrum00"}, {319, "EXB2UserDrum63"}, {320 + 828, "User1Prg000"},
                   {320 + 828 + 128 * 2, "EXB1User1Prg000"}, {1915, "EXB2User2Prg127"}}},
    };
    for (const auto& c : cases) {
        const QeSoundList list = QeSoundList::Build(tables, c.series);
        ASSERT_EQ(list.Size(), c.size);
        for (const auto& [index, name] : c.rows)
            EXPECT_EQ(list.At(index).name, name) << c.series << " " << index;
        const auto& drums = tables.Rows(c.series ? CQeSoundTables::Table::Qe9zDrums : CQeSoundTables::Table::Qe4kDrums);
        EXPECT_EQ(list.At(0).value, sound(drums[0].msb, drums[0].lsb, drums[0].program));
        for (const auto& e : list.Entries()) {
            ASSERT_FALSE(e.name.empty());
            EXPECT_NE(e.name.front(), ' ');
            EXPECT_NE(e.name.back(), ' ');
        }
    }
    const QeSoundList qe9z = QeSoundList::Build(tables, 1);
    EXPECT_EQ(qe9z.IndexOf(sound(120, 68, 5)), 192 + 5);
    EXPECT_EQ(qe9z.IndexOf(sound(121, 71, 127)), 1915);
    EXPECT_EQ(qe9z.IndexOf(sound(121, 71, 127) | 0x3300), 1915) << "bits 15-8 do not count";
    EXPECT_EQ(qe9z.IndexOf(sound(120, 64, 64)), -1) << "user drums stop at 63";
    EXPECT_EQ(&QeSoundList::ForSeries(1), &QeSoundList::ForSeries(1)) << "built once and shared";
}

TEST(SoundSelectDlgModel, TitleAndChoice)
{
    const uint32_t current = sound(121, 65, 3);
    SoundSelectDlgModel model('F', current);
    const int start = model.SelectionAtStart();
    ASSERT_GE(start, 0);
    EXPECT_EQ(model.List().At(size_t(start)).name, "User2Prg03");
    EXPECT_EQ(model.TitleFormat(start), "Sounds: (%d,%d,%d) - %s");
    EXPECT_EQ(model.TitleArgs(start), (Strings{"121", "65", "3", "User2Prg03"}));
    EXPECT_EQ(model.TitleFormat(-1), "Sounds");
    EXPECT_EQ(model.Ok(-1), current);
    EXPECT_EQ(model.Ok(0), model.List().At(0).value);
    EXPECT_EQ(SoundSelectDlgModel('X', current).List().Size(), 1916u) << "any other letter: the Qe9z list";
    EXPECT_EQ(SoundSelectDlgModel('F', sound(1, 2, 3)).SelectionAtStart(), -1);
}

// A Qe4k element whose tracks have sounds of the user bank, expression 100
// and the full range.
FakeQeStyleEditor styleEditor()
{
    FakeQeStyleEditor editor;
    editor.elementStatus.fill(2);
    for (int e = 0; e < 12; ++e)
        for (int t = 0; t < 8; ++t) {
            editor.program[size_t(e)][size_t(t)] = sound(121, 64, t);
            editor.expression[size_t(e)][size_t(t)] = 100;
            editor.low[size_t(e)][size_t(t)] = 21;
            editor.high[size_t(e)][size_t(t)] = 108;
        }
    editor.signature[1] = 0x23;
    return editor;
}

TEST(TrackParamsDlgModel, StartTexts)
{
    FakeQeStyleEditor editor = styleEditor();
    TrackParamsDlgModel model(editor, 1, "Pop");
    EXPECT_EQ(model.ElementName(), "Variation2");
    EXPECT_EQ(model.TactText(), "4/4");
    const struct {
        uint8_t s;
        const char* text;
    } tacts[] = {{0x00, "1/1"}, {0x1F, "16/2"}, {0x32, "3/8"}, {0x4B, "12/16"}, {0x50, "?/?"}, {0xFF, "?/?"}};
    for (const auto& t : tacts)
        EXPECT_EQ(TrackParamsDlgModel::TactText(t.s), t.text);
    const Strings notes = TrackParamsDlgModel::NoteTexts();
    ASSERT_EQ(notes.size(), 88u);
    EXPECT_EQ(notes.front(), "A0");
    EXPECT_EQ(notes.back(), "C8");
    EXPECT_EQ(model.Sounds().Size(), 983u);
    EXPECT_EQ(model.SoundModel(), uint32_t('F'));
    EXPECT_EQ(model.SoundBytes(3), (std::array<std::string, 3>{"121", "64", "3"}));
}

TEST(TrackParamsDlgModel, UnchangedOkWritesNothingAndEachGroupIsWrittenWhole)
{
    FakeQeStyleEditor editor = styleEditor();
    TrackParamsDlgModel unchanged(editor, 1, "Pop");
    EXPECT_EQ(unchanged.Ok(unchanged.ControlsAtStart()), 0);
    EXPECT_TRUE(editor.calls.empty());

    TrackParamsDlgModel one(editor, 1, "Pop");
    TrackParamsDlgModel::Controls c = one.ControlsAtStart();
    c.expression[4] = "90";
    EXPECT_EQ(one.Ok(c), 1);
    EXPECT_EQ(editor.callsOf("SetTrackExpression").size(), 8u);
    EXPECT_EQ(editor.calls.size(), 8u) << "no sounds or ranges";
    EXPECT_EQ(editor.expression[1][4], 90);
}

TEST(TrackParamsDlgModel, TypedExpressionsAreClampedAndUnknownSoundsKept)
{
    const struct {
        const char* typed;
        int value;
    } cases[] = {{"300", 127}, {"127", 127}, {"-4", 0}, {" 64", 64}, {"x", -1}, {"", -1},
                 {"99999999999999999999", 127}};
    for (const auto& c : cases)
        EXPECT_EQ(TrackParamsDlgModel::ParseExpression(c.typed), c.value) << c.typed;

    FakeQeStyleEditor editor = styleEditor();
    editor.program[1][2] = sound(120, 64, 70); // a user drum past the list
    TrackParamsDlgModel model(editor, 1, "Pop");
    EXPECT_EQ(model.SoundIndex(2), -1);
    TrackParamsDlgModel::Controls c = model.ControlsAtStart();
    c.expression[0] = "300";
    EXPECT_EQ(model.Ok(c), 1);
    EXPECT_EQ(editor.expression[1][0], 127) << "a typed 300 is clamped, not taken as a byte";
    EXPECT_EQ(editor.program[1][2], sound(120, 64, 70));
    EXPECT_TRUE(editor.callsOf("SetTrackProgram").empty());
}

TEST(TrackParamsDlgModel, SoundsChosenInTheSoundDialog)
{
    FakeQeStyleEditor editor = styleEditor();
    TrackParamsDlgModel model(editor, 1, "Pop");
    EXPECT_FALSE(model.SoundChosen(5, sound(121, 64, 5))) << "the sound the track has";
    EXPECT_TRUE(model.SoundChosen(5, sound(121, 65, 9)));
    EXPECT_EQ(model.SoundBytes(5), (std::array<std::string, 3>{"121", "65", "9"}));
    TrackParamsDlgModel::Controls c = model.ControlsAtStart();
    EXPECT_EQ(model.Sounds().At(size_t(c.sound[5])).name, "User2Prg09");
    EXPECT_EQ(model.Ok(c), 1);
    EXPECT_EQ(editor.callsOf("SetTrackProgram").size(), 8u);
    EXPECT_EQ(editor.program[1][5], sound(121, 65, 9));
}

TEST(TrackParamsDlgModel, ApplyToAllCopiesTheFourValuesWhereTheyDiffer)
{
    FakeQeStyleEditor editor = styleEditor();
    editor.expression[7][3] = 50;
    editor.high[9][0] = 90;
    editor.expression[10][3] = 50;
    // An absent element is neither read nor written (reading would make it).
    editor.elementStatus[8] = 0;
    editor.expression[8][2] = 60;
    TrackParamsDlgModel model(editor, 1, "Pop");
    TrackParamsDlgModel::Controls c = model.ControlsAtStart();
    c.applyToAll = true;
    EXPECT_EQ(model.Ok(c), 1) << "nothing changed here, but other elements differ";
    EXPECT_EQ(editor.calls, (Strings{"SetTrackExpression 7 3 100", "SetTrackKBRangeHigh 9 0 108"}));
    EXPECT_EQ(editor.expression[8][2], 60);
    EXPECT_EQ(editor.expression[10][3], 50) << "a Qe4k style has ten elements";

    FakeQeStyleEditor qe9z = styleEditor();
    qe9z.version = 1;
    qe9z.low[11][6] = 30;
    TrackParamsDlgModel twelve(qe9z, 0, "Pop");
    TrackParamsDlgModel::Controls all = twelve.ControlsAtStart();
    all.applyToAll = true;
    EXPECT_EQ(twelve.Ok(all), 1);
    EXPECT_EQ(qe9z.calls, Strings{"SetTrackKBRangeLow 11 6 21"});
    EXPECT_EQ(twelve.Sounds().Size(), 1916u);
}

} // namespace
} // namespace zib
