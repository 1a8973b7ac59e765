#include "devices/core/BarGridModel.h"
#include "devices/core/CMeasureTable.h"
#include "devices/core/RecordingCanvas.h"
#include "midi/CMidiParserEx.h"
#include "tests/support/SmfBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace zib {
namespace {

using Op = RecordingCanvas::Op;
using test::SmfBuilder;

struct Grid {
    explicit Grid(const std::vector<uint8_t>& image)
    {
        EXPECT_EQ(sequence.ParseImage(image.data(), uint32_t(image.size())), 0);
        EXPECT_TRUE(measures.Build(sequence));
        model.Rebuild(measures, sequence);
    }
    CMidiParserEx sequence;
    CMeasureTable measures;
    BarGridModel model;
};

std::vector<uint8_t> signatures()
{
    // 4/4, then 3/8 from measure 1, 6/8 from 2, 7/4 from 3 (division 96)
    SmfBuilder b(1, 96);
    b.AddTrack().TimeSig(0, 4, 2).TimeSig(384, 3, 3).TimeSig(528, 6, 3).TimeSig(816, 7, 2);
    b.AddTrack().NoteOn(0, 0, 60, 90).NoteOff(10, 0, 60);
    return b.Build();
}

TEST(BarGridModelTest, ColumnsAreAsWideAsTheirSignaturesAndTheLastOneGoesOn)
{
    struct Case {
        int numerator, denominator, width;
    };
    const Case cases[] = {{3, 8, 18}, {6, 8, 36}, {7, 4, 84}, {4, 4, 48}, {2, 2, 48}, {5, 16, 15},
                          {9, 32, 18}, {1, 1, 48}, {3, 64, 36}};
    for (const Case& c : cases) EXPECT_EQ(BarGridModel::ColumnWidth(c.numerator, c.denominator), c.width);

    Grid g(signatures());
    EXPECT_EQ(g.model.ColumnWidthOf(0), 48);
    EXPECT_EQ(g.model.ColumnWidthOf(1), 18);
    EXPECT_EQ(g.model.ColumnWidthOf(2), 36);
    EXPECT_EQ(g.model.ColumnWidthOf(3), 84);
    EXPECT_EQ(g.model.ColumnWidthOf(1999), 84); // past the song: the last signature
    EXPECT_EQ(g.model.ColumnLeft(3), 48 + 18 + 36);
    EXPECT_EQ(g.model.TotalWidth(), 102 + 1997 * 84);
    EXPECT_EQ(g.model.MeasureAtX(0), 0u);
    EXPECT_EQ(g.model.MeasureAtX(47), 0u);
    EXPECT_EQ(g.model.MeasureAtX(48), 1u);
    EXPECT_EQ(g.model.MeasureAtX(1 << 30), 1999u);
}

TEST(BarGridModelTest, LevelsFollowTheirUpperBounds)
{
    struct Case {
        int value, level;
    };
    const Case cases[] = {{0, 1},   {2, 1},    {3, 2},    {8, 2},   {9, 3},   {63, 12},
                          {64, 13}, {107, 20}, {108, 21}, {124, 23}, {125, 24}, {127, 24}};
    for (const Case& c : cases) EXPECT_EQ(BarGridModel::Level(c.value), c.level) << c.value;
}

TEST(BarGridModelTest, TicksAndPositionsMapIntoTheirColumnsAndStopAtTheRightEdge)
{
    Grid g(signatures());
    EXPECT_EQ(g.model.TickToX(0), 0);
    EXPECT_EQ(g.model.TickToX(192), 24);       // half of measure 0
    EXPECT_EQ(g.model.TickToX(384 + 72), 57);  // half of the 3/8 measure
    EXPECT_EQ(g.model.TickToX(UINT32_MAX), g.model.TotalWidth());
    EXPECT_EQ(g.model.PositionX(3, 2, 48), 102 + (2 * 96 + 48) * 84 / 672);
    EXPECT_EQ(g.model.PositionX(2000, 0, 0), g.model.TotalWidth());
    uint32_t first = 0, last = 0;
    g.model.VisibleMeasures(50, 100, first, last);
    EXPECT_EQ(first, 1u);
    EXPECT_EQ(last, 3u + 10u);
}

TEST(BarGridModelTest, TheCursorsMeasureIsScrolledIntoView)
{
    Grid g(signatures());
    const int width = 300;
    EXPECT_EQ(g.model.ScrollToShow(2, 0, width, false), -1);
    const int left = g.model.ColumnLeft(40);
    EXPECT_EQ(g.model.ScrollToShow(40, 0, width, true), left); // playing: to the left edge
    EXPECT_EQ(g.model.ScrollToShow(40, 0, width, false), left - (width - 84) / 2);
    EXPECT_EQ(g.model.ScrollToShow(3, left, width, false), 0); // back, in the first measures
    EXPECT_EQ(g.model.ScrollToShow(20, left, width, false), g.model.ColumnLeft(20) - (width - 84) / 2);
}

// Rows 0 and 1 (tracks 1 and 2) in view at 4/4, 48 pixels a measure.
TEST(BarGridModelTest, RowsAreShadedAndEventsDrawnAsStrokes)
{
    SmfBuilder b(1, 96);
    b.AddTrack().TimeSig(0, 4, 2).Marker(96, "m");
    b.AddTrack()
        .NoteOn(0, 0, 127, 90)
        .NoteOff(192, 0, 127) // half a measure: 24 pixels
        .Program(384, 0, 5)
        .ChannelPressure(480, 0, 127)
        .Controller(500, 0, 7, 100)
        .NoteOn(768, 0, 0, 90)
        .NoteOff(768, 0, 0); // no duration
    b.AddTrack().Text(384, 0x05, "la");
    Grid g(b.Build());
    const BarGridModel::Row rows[] = {{true, 0, 768, false}, {true, 384, 384, true}, {false, 0, 0, false}};
    RecordingCanvas canvas;
    g.model.PaintRows(canvas, g.sequence, {0, 0, 200, 75}, rows, 96, 480);

    std::vector<RecordingCanvas::Command> fills, marks;
    for (const auto& c : canvas.Commands()) {
        if (c.op == Op::Fill || c.op == Op::Hatch) fills.push_back(c);
        if (c.op == Op::Line && c.color == BarGridModel::kMarkColor) marks.push_back(c);
    }
    // Row 0: window, content 0..96 white, From-Thru 12..60 yellow; row 1 hatched; row 2 window only
    auto has = [&](Op op, int x, int y, int w, uint32_t color) {
        for (const auto& f : fills)
            if (f.op == op && f.x == x && f.y == y && f.x2 == w && f.color == color) return true;
        return false;
    };
    EXPECT_TRUE(has(Op::Fill, 0, 0, 200, BarGridModel::kWindowColor));
    EXPECT_TRUE(has(Op::Fill, 0, 0, 97, BarGridModel::kContentColor));
    EXPECT_TRUE(has(Op::Fill, 12, 0, 49, BarGridModel::kFromThruColor));
    EXPECT_TRUE(has(Op::Hatch, 0, 25, 200, BarGridModel::kHatchColor));
    EXPECT_TRUE(has(Op::Fill, 0, 50, 200, BarGridModel::kWindowColor));
    EXPECT_FALSE(has(Op::Fill, 0, 50, 97, BarGridModel::kContentColor));

    // Track 2 (row 0): note 127 at level 24 from x 0 to 23; program change and
    // pressure as vertical strokes; the controller draws nothing; the note
    // without duration is one pixel at level 1. Track 3 (row 1): the lyric.
    const int base0 = 24, base1 = 49;
    std::vector<std::array<int, 4>> got;
    for (const auto& m : marks) got.push_back({m.x, m.y, m.x2, m.y2});
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, (std::vector<std::array<int, 4>>{{0, base0 - 24, 23, base0 - 24},
                                                    {48, base0, 48, base0 - 4},
                                                    {48, base1, 48, base1 - 4},
                                                    {60, base0, 60, base0 - 23},
                                                    {96, base0 - 1, 96, base0 - 1}}));
}

// Shown in a font twice as wide as the layout's, measures and rows are twice
// as large, and so are the strokes laid out in pixels.
TEST(BarGridModelTest, InAFontTwiceAsWideTheGridIsTwiceAsLarge)
{
    SmfBuilder b(1, 96);
    b.AddTrack().TimeSig(0, 4, 2).TimeSig(384, 3, 3);
    b.AddTrack().NoteOn(0, 0, 127, 90).NoteOff(192, 0, 127).Program(384, 0, 5).ChannelPressure(432, 0, 127);
    const auto image = b.Build();
    CMidiParserEx sequence;
    ASSERT_EQ(sequence.ParseImage(image.data(), uint32_t(image.size())), 0);
    CMeasureTable measures;
    ASSERT_TRUE(measures.Build(sequence));
    BarGridModel model;
    model.SetCharWidth(12.0);
    model.Rebuild(measures, sequence);
    EXPECT_EQ(model.RowHeight(), 50);
    EXPECT_EQ(model.ColumnWidthOf(0), 96); // 4/4
    EXPECT_EQ(model.ColumnWidthOf(1), 36); // 3/8
    EXPECT_EQ(model.ColumnWidthOf(1999), 36);
    EXPECT_EQ(model.TickToX(192), 48);

    const BarGridModel::Row rows[] = {{true, 0, 432, false}};
    RecordingCanvas canvas;
    model.PaintRows(canvas, sequence, {0, 0, 300, 50}, rows, 0, 0);
    std::vector<std::array<int, 4>> marks;
    for (const auto& c : canvas.Commands())
        if (c.op == Op::Line && c.color == BarGridModel::kMarkColor) marks.push_back({c.x, c.y, c.x2, c.y2});
    std::sort(marks.begin(), marks.end());
    const int base = 49;                                                              // the row's bottom - 1
    EXPECT_EQ(marks, (std::vector<std::array<int, 4>>{{0, base - 48, 47, base - 48},  // level 24
                                                      {96, base, 96, base - 9},       // 10 pixels
                                                      {108, base, 108, base - 48}})); // pressure 127 of 50
}

// A long note that starts before the view is still drawn in it; the events
// before the view are not walked for every row.
TEST(BarGridModelTest, ANoteSoundingIntoTheViewIsDrawnFromTheViewsEdge)
{
    SmfBuilder b(1, 96);
    b.AddTrack().TimeSig(0, 4, 2);
    auto& t = b.AddTrack().NoteOn(0, 0, 60, 90).NoteOff(384 * 50, 0, 60);
    for (uint32_t m = 0; m < 40; ++m) t.NoteOn(m * 384 + 10, 1, 70, 90).NoteOff(m * 384 + 20, 1, 70);
    Grid g(b.Build());
    EXPECT_EQ(g.model.FirstEventToDraw(45), 1u); // the long note
    EXPECT_EQ(g.model.FirstEventToDraw(51), g.model.FirstEventToDraw(60));
    RecordingCanvas canvas;
    const BarGridModel::Row rows[] = {{true, 0, 384 * 50, false}};
    g.model.PaintRows(canvas, g.sequence, {48 * 45, 0, 96, 25}, rows, 0, 0);
    int strokes = 0;
    for (const auto& c : canvas.Commands())
        if (c.op == Op::Line && c.color == BarGridModel::kMarkColor) {
            ++strokes;
            EXPECT_EQ(c.x, -48 * 45);
            EXPECT_EQ(c.x2, 48 * 5 - 1);
        }
    EXPECT_EQ(strokes, 1);
}

TEST(BarGridModelTest, TheHeaderNumbersTheColumnsInView)
{
    Grid g(signatures());
    RecordingCanvas canvas;
    g.model.PaintHeader(canvas, 48, 60);
    std::vector<std::pair<int, std::string>> texts;
    for (const auto& c : canvas.Commands())
        if (c.op == Op::Text) texts.push_back({c.x, c.text});
    EXPECT_EQ(texts, (std::vector<std::pair<int, std::string>>{{2, "2"}, {20, "3"}, {56, "4"}}));
}

} // namespace
} // namespace zib
