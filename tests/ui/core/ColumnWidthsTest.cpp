// Column widths laid out for a 6-pixel dialog font, shown in another font.
#include "ui/core/ColumnWidths.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

TEST(ColumnWidths, AverageCharWidthIsTheMeanOfTheSampleLetters)
{
    EXPECT_DOUBLE_EQ(AverageCharWidth(312), 6.0);   // 52 letters of 6 px
    EXPECT_DOUBLE_EQ(AverageCharWidth(422), 422.0 / 52);
    EXPECT_DOUBLE_EQ(AverageCharWidth(0), 0.0);     // nothing measured
    EXPECT_DOUBLE_EQ(AverageCharWidth(-5), 0.0);
}

TEST(ColumnWidths, WidthsScaleByTheFontsCharWidthAndHoldTheirHeader)
{
    struct Case {
        int layout;
        double charWidth;
        int header;
        int shown;
    } cases[] = {
        {70, 6.0, 0, 70},          // the layout font: unchanged
        {70, 422.0 / 52, 0, 95},   // a 10-point sans font: "Track name" gets room for its letters
        {120, 422.0 / 52, 0, 162}, // rounded to the nearest pixel
        {80, 3.0, 0, 40},          // a smaller font narrows the column
        {40, 422.0 / 52, 48, 60},  // a bold header wider than the scaled column widens it
        {100, 6.0, 30, 100},       // a header that fits changes nothing
        {0, 422.0 / 52, 48, 0},    // a hidden column stays hidden
        {-1, 9.0, 0, -1},          // the list's automatic widths pass unchanged
        {70, 0.0, 0, 70},          // a font that could not be measured keeps the layout
        {70, -2.0, 0, 70},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScaledColumnWidth(c.layout, c.charWidth, c.header), c.shown)
            << c.layout << " px at " << c.charWidth << " with a header of " << c.header;
}

TEST(ColumnWidths, AWindowOverColumnsHoldsTheSameColumnsWholeAtTheirShownWidths)
{
    // Columns laid out 20, 30 and 40 wide, shown 30 (a header widened it), 45 and 60.
    const int layout[] = {20, 30, 40};
    const int shown[] = {30, 45, 60};
    struct Case {
        int span, width;
    } cases[] = {
        {0, 0},          {20, 30}, // the first column whole
        {50, 75},                  // the first two whole
        {60, 135},                 // a quarter of the third: the third whole
        {35, 75},                  // half of the second: the second whole
        {100, 135 + 15},           // past the last column: at the last column's scale
        {-10, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShownSpan(layout, shown, c.span), c.width) << c.span;
    // Columns shown as laid out: a window that ends on a column's edge keeps
    // its width; one that ends inside a column grows to the column's edge.
    EXPECT_EQ(ShownSpan(layout, layout, 50), 50);
    EXPECT_EQ(ShownSpan(layout, layout, 75), 90);
}

TEST(ColumnWidths, ACellIsCutWhenItsTextAndPaddingOverrunTheColumn)
{
    EXPECT_FALSE(CellTextCut(40, 40 + kCellTextPadding));
    EXPECT_TRUE(CellTextCut(41, 40 + kCellTextPadding));
    // An image before the text takes its room too.
    EXPECT_FALSE(CellTextCut(40, 60 + kCellTextPadding, 20));
    EXPECT_TRUE(CellTextCut(40, 59 + kCellTextPadding, 20));
    // An empty cell is never cut, however narrow its column.
    EXPECT_FALSE(CellTextCut(0, 0));
}

} // namespace
} // namespace zib
