#include "mididoc/core/PositionDlgModels.h"

#include <gtest/gtest.h>

#include <utility>

using namespace zib;

TEST(PositionDlgModels, TimeSignatureSelectionAndClamping)
{
    TimeSignatureDlgModel m;
    for (auto [value, entry] : {std::pair{64, 6}, {128, 7}, {4, 2}, {3, -1}}) {
        m.beatValue = uint8_t(value);
        EXPECT_EQ(m.BeatValueEntry(), entry) << value;
    }
    struct Case {
        const char* measure;
        const char* beats;
        uint32_t outMeasure;
        uint8_t outBeats;
    } cases[] = {
        {"7", "3", 6, 3}, {"0", "0", 0, 1}, {"1000", "300", 998, 99}, {"-4", "abc", 0, 1}, {"", "12", 0, 12},
    };
    for (const auto& c : cases) {
        TimeSignatureDlgModel t;
        t.Ok(c.measure, c.beats, 3);
        EXPECT_EQ(t.measure, c.outMeasure) << c.measure;
        EXPECT_EQ(t.beatsPerMeasure, c.outBeats) << c.beats;
        EXPECT_EQ(t.beatValue, 8);
    }
    TimeSignatureDlgModel fixed;
    fixed.measure = 41;
    fixed.measureFixed = true;
    fixed.beatValue = 16;
    EXPECT_EQ(fixed.MeasureText(), "42");
    fixed.Ok("5", "4", -1);
    EXPECT_EQ(fixed.measure, 41u);
    EXPECT_EQ(fixed.beatValue, 16);
}

TEST(PositionDlgModels, InPlaceValueEditor)
{
    PositionValueDlgModel m(60, 0, 127);
    EXPECT_FALSE(m.EditChanged("200")); // not yet initialised: nothing happens
    m.Initialised();
    EXPECT_FALSE(m.EditChanged("100"));
    EXPECT_EQ(m.lastValid(), 100);
    EXPECT_EQ(m.EditChanged("200"), "100"); // above the bound: the last valid value goes back
    EXPECT_FALSE(m.Commit(60));             // unchanged: the owner hears nothing
    EXPECT_TRUE(m.Commit(90));
    EXPECT_EQ(m.value(), 90);
    EXPECT_TRUE(m.Commit(300)); // low 8 bits (44)
    EXPECT_EQ(m.value(), 44);
    PositionValueDlgModel c(60, 10, 20);
    EXPECT_TRUE(c.Commit(5));
    EXPECT_EQ(c.value(), 10);
    c.Cancel();
    EXPECT_EQ(c.value(), 60);
    EXPECT_FALSE(c.Commit(15));

}

TEST(PositionDlgModels, InPlaceValueEditorPlacement)
{
    using Rect = PositionValueDlgModel::Rect;
    struct Case {
        Rect cell;
        int spinWidth, spinHeight;
        Rect dialog, edit, spin;
    };
    const Case cases[] = {
        // A small cell: the dialog's minimum, the spin at its standard size.
        {{100, 50, 30, 18}, 16, 22, {100, 50, 45, 26}, {2, 5, 25, 16}, {30, 2, 16, 22}},
        // A wide, tall cell: the dialog covers it.
        {{0, 0, 90, 30}, 16, 22, {0, 0, 90, 30}, {2, 7, 70, 16}, {75, 4, 16, 22}},
        // A spin that cannot be smaller than 70 x 34: the dialog grows by what
        // it needs more, the edit keeps its width.
        {{100, 50, 30, 18}, 70, 34, {100, 50, 99, 38}, {2, 11, 25, 16}, {30, 2, 70, 34}},
        {{0, 0, 90, 40}, 70, 34, {0, 0, 144, 40}, {2, 12, 70, 16}, {75, 3, 70, 34}},
    };
    for (const Case& c : cases) {
        const auto l = PositionValueDlgModel::Place(c.cell, c.spinWidth, c.spinHeight);
        EXPECT_EQ(l.dialog, c.dialog) << c.cell.width << "x" << c.cell.height << " spin " << c.spinWidth;
        EXPECT_EQ(l.edit, c.edit) << c.cell.width << "x" << c.cell.height << " spin " << c.spinWidth;
        EXPECT_EQ(l.spin, c.spin) << c.cell.width << "x" << c.cell.height << " spin " << c.spinWidth;
    }
}

TEST(PositionDlgModels, PositionTextThroughAContext)
{
    // Four beats of 120 ticks per bar.
    struct FourFour : MeasureContext {
        uint32_t ToTick(uint32_t bar, uint32_t beat, uint32_t tick) const override
        {
            return bar * 480 + beat * 120 + tick;
        }
        PositionRecord FromTick(uint32_t t) const override { return {t, t / 480, t % 480 / 120, t % 120}; }
    } ctx;
    auto p = ParsePositionText("  2:05:130\nrest", &ctx);
    EXPECT_EQ(p.tick, 480u + 4 * 120 + 130);
    EXPECT_EQ(FormatPositionText(p), "  3:02:010");
    auto bare = ParsePositionText("7", nullptr);
    EXPECT_EQ(bare.bar, 6u);
    EXPECT_EQ(bare.beat, 0u);
    EXPECT_EQ(FormatPositionText(ParsePositionText("", nullptr)), "  1:01:000");
    EXPECT_EQ(ParseDialogInt(" -12 "), -12);
    EXPECT_FALSE(ParseDialogInt("1x"));
    EXPECT_FALSE(ParseDialogInt("99999999999"));
    TransposeValueDlgModel t;
    t.Ok("-30");
    EXPECT_EQ(t.value, -30); // returned as typed; the transposer keeps notes in range
}
