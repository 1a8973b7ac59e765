// The chord table, key-chord, style flags and NTT dialogs and the event
// cleaning choice without their windows, against a fake style editor.
#include "docs/style/core/CleanStyleEventsDlgModel.h"
#include "docs/style/core/NttDlgModel.h"
#include "docs/style/core/QeChordTableDlgModel.h"
#include "docs/style/core/QeKeyChordDlgModel.h"
#include "docs/style/core/QeStyleFlagsDlgModel.h"
#include "tests/support/FakeQeStyleEditor.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

using test::FakeQeStyleEditor;
using Strings = std::vector<std::string>;

TEST(QeChordTableDlgModel, OffersThePresentCvsAndWritesAllOnlyWhenOneChanged)
{
    FakeQeStyleEditor editor;
    editor.cvStatus[0] = {2, 0, 1, 2, 0, 0};
    editor.chordAssign[0].fill(3);
    editor.chordAssign[0][1] = 1; // CV2 is absent
    QeChordTableDlgModel model(editor, 0);
    EXPECT_EQ(model.ElementName(), "Variation1");
    EXPECT_EQ(model.OfferedNames(), (Strings{"CV1", "CV3", "CV4"}));
    EXPECT_EQ(QeChordTableDlgModel::ChordLabel(0), "Major:");
    EXPECT_EQ(QeChordTableDlgModel::ChordLabel(21), "No3rdNo5th:");
    EXPECT_EQ(model.SelectionAtStart(0), 2);
    EXPECT_EQ(model.SelectionAtStart(1), -1);

    // The list of chord type 1 shows nothing; confirmed so, nothing changes.
    std::array<int, 22> start{};
    for (int i = 0; i < 22; ++i)
        start[size_t(i)] = model.SelectionAtStart(i);
    EXPECT_EQ(model.Ok(start), 0);
    EXPECT_TRUE(editor.calls.empty());
    // Another list changed: every entry is written, CV1 for the one without selection.
    start[5] = 0;
    EXPECT_EQ(model.Ok(start), 1);
    EXPECT_EQ(editor.callsOf("SetChordAssign").size(), 22u);
    EXPECT_EQ(editor.chordAssign[0][1], 0);
    EXPECT_EQ(editor.chordAssign[0][5], 0);
    EXPECT_EQ(editor.chordAssign[0][6], 3);

    FakeQeStyleEditor quiet;
    quiet.cvStatus[0] = {2, 2, 0, 0, 0, 0};
    quiet.chordAssign[0].fill(1);
    QeChordTableDlgModel nothing(quiet, 0);
    std::array<int, 22> all{};
    all.fill(1);
    EXPECT_EQ(nothing.Ok(all), 0);
    EXPECT_TRUE(quiet.calls.empty()) << "confirming without a change writes nothing";
}

TEST(QeChordTableDlgModel, AnIntroOffersItsTwoCvs)
{
    FakeQeStyleEditor editor;
    editor.cvStatus[4] = {2, 1, 0, 0, 0, 0};
    QeChordTableDlgModel model(editor, 4);
    EXPECT_EQ(model.OfferedNames(), (Strings{"CV1", "CV2"}));
    std::array<int, 22> selections{};
    selections.fill(1);
    EXPECT_EQ(model.Ok(selections), 1);
    EXPECT_EQ(editor.chordAssign[4][0], 1);
}

TEST(QeKeyChordDlgModel, PositionsAreKeyTimes22PlusChord)
{
    FakeQeStyleEditor editor;
    editor.key[0][0][3] = 0;
    editor.chord[0][0][3] = 0;
    const Strings entries = QeKeyChordDlgModel::Entries();
    ASSERT_EQ(entries.size(), 264u);
    EXPECT_EQ(entries[0], "CMajor");
    EXPECT_EQ(entries[45], "DMaj6");
    EXPECT_EQ(entries[6 * 22 + 9], "F#min7");

    QeKeyChordDlgModel model(editor, 0, 0, 3);
    EXPECT_EQ(model.TitleParts(), (Strings{"Variation1", "CV1", "ACC1"}));
    EXPECT_EQ(model.SelectionAtStart(), 0);
    EXPECT_EQ(model.Ok(0), 0);
    EXPECT_TRUE(editor.calls.empty());
    EXPECT_EQ(model.Ok(45), 1);
    EXPECT_EQ(editor.calls, (Strings{"SetTrackChord 0 0 3 1", "SetTrackKey 0 0 3 2"})) << "D, Maj6; chord first";
}

TEST(QeKeyChordDlgModel, ValuesOutOfRangeShowNothingAndAreKept)
{
    for (auto [key, chord] : {std::pair{12, 0}, std::pair{0, 22}, std::pair{200, 200}}) {
        FakeQeStyleEditor editor;
        editor.key[1][0][2] = uint8_t(key);
        editor.chord[1][0][2] = uint8_t(chord);
        QeKeyChordDlgModel model(editor, 1, 0, 2);
        EXPECT_EQ(model.SelectionAtStart(), -1);
        EXPECT_EQ(model.Ok(-1), 0);
        EXPECT_TRUE(editor.calls.empty());
    }
    FakeQeStyleEditor editor;
    editor.key[0][0][2] = 3;
    QeKeyChordDlgModel model(editor, 0, 0, 2);
    EXPECT_EQ(model.Ok(300), 1) << "a position past the list counts as 0";
    EXPECT_EQ(editor.key[0][0][2], 0);
}

TEST(QeStyleFlagsDlgModel, ModesAndTensionsAreWrittenAsGroups)
{
    FakeQeStyleEditor editor;
    editor.mode = {0, 1, 2, 7, 1, 1, 1, 1};
    editor.tension = {1, 0, 0, 0, 0, 0, 0, 1};
    QeStyleFlagsDlgModel model(editor, "Pop");
    const std::array<int, 8> rows{0, 1, 2, 0, 1, 1, 1, 1};
    for (int t = 0; t < 8; ++t)
        EXPECT_EQ(model.RowAtStart(t), rows[size_t(t)]) << "mode 7 shows as Silent";
    std::array<bool, 8> tension{true, false, false, false, false, false, false, true};
    EXPECT_EQ(model.Ok(rows, tension), 0) << "Silent as shown at start keeps the mode 7";
    EXPECT_TRUE(editor.calls.empty());
    std::array<int, 8> chosen = rows;
    chosen[0] = QeStyleFlagsDlgModel::kRePitch;
    EXPECT_EQ(model.Ok(chosen, tension), 1);
    EXPECT_EQ(editor.callsOf("SetTrackMode").size(), 8u);
    EXPECT_EQ(editor.mode[0], 2);
    EXPECT_EQ(editor.mode[3], 0) << "another mode changed: Silent writes 0 for the mode 7";
    EXPECT_TRUE(editor.callsOf("SetTrackTension").empty());

    FakeQeStyleEditor same;
    same.mode = {0, 1, 2, 0, 0, 0, 0, 0};
    QeStyleFlagsDlgModel unchanged(same, "Pop");
    std::array<bool, 8> none{};
    EXPECT_EQ(unchanged.Ok({0, 1, 2, 0, 0, 0, 0, 0}, none), 0);
    EXPECT_TRUE(same.calls.empty());
    none[3] = true;
    EXPECT_EQ(unchanged.Ok({0, 1, 2, 0, 0, 0, 0, 0}, none), 1);
    EXPECT_EQ(same.callsOf("SetTrackTension").size(), 8u);
    EXPECT_TRUE(same.callsOf("SetTrackMode").empty());
}

TEST(NttDlgModel, ButtonsAndOutOfRangeValues)
{
    FakeQeStyleEditor editor;
    editor.ntt[2] = 2;
    NttDlgModel model(editor, 2);
    EXPECT_EQ(model.ElementName(), "Variation3");
    EXPECT_EQ(model.ButtonAtStart(), 2);
    EXPECT_STREQ(NttDlgModel::ButtonText(2), "wq-series compatibility");
    EXPECT_EQ(model.Ok(2), 0);
    EXPECT_TRUE(editor.calls.empty());
    EXPECT_EQ(model.Ok(3), 1);
    EXPECT_EQ(editor.calls, Strings{"SetNtt 2 3"});

    FakeQeStyleEditor odd;
    odd.ntt[0] = 9;
    NttDlgModel kept(odd, 0);
    EXPECT_EQ(kept.ButtonAtStart(), -1);
    EXPECT_EQ(kept.Ok(-1), 0);
    EXPECT_TRUE(odd.calls.empty());
}

TEST(CleanStyleEventsDlgModel, ControllerListAndChoice)
{
    const Strings entries = CleanStyleEventsDlgModel::ControllerEntries();
    ASSERT_EQ(entries.size(), 129u);
    EXPECT_EQ(entries.front(), "ALL");
    EXPECT_EQ(entries.back(), "127");
    EXPECT_FALSE(CleanStyleEventsDlgModel::ControllerListEnabled(false));
    const CleanEventsChoice all = CleanStyleEventsDlgModel::Ok(true, false, true, true, false, 0);
    EXPECT_TRUE(all.pitchBend && all.polyPressure && all.control);
    EXPECT_FALSE(all.channelPressure || all.programChange);
    EXPECT_EQ(all.controller, 255);
    EXPECT_EQ(CleanStyleEventsDlgModel::Ok(false, false, false, true, false, 8).controller, 7);
    EXPECT_EQ(CleanStyleEventsDlgModel::Ok(false, false, false, false, false, 8).controller, 255)
        << "the list counts only with Control events";
}

} // namespace
} // namespace zib
