#pragma once

#include <span>
#include <string_view>

namespace zib {

// The lists' column widths are laid out in pixels of a small dialog font whose
// average character width is 6 pixels. In the font a list really shows they
// scale by the ratio of that font's average character width, so that a text
// that fits the laid-out width fits the shown one.
inline constexpr double kLayoutCharWidth = 6.0;

// A font's average character width is the mean width of these letters.
inline constexpr std::string_view kCharWidthSample = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// Room a list keeps beside the text of a column header and of a cell.
inline constexpr int kHeaderTextPadding = 12;
inline constexpr int kCellTextPadding = 8;

// The average character width of a font in which kCharWidthSample is
// `sampleExtent` pixels wide.
double AverageCharWidth(int sampleExtent);

// A length laid out `layoutPixels` long, shown in a font whose average
// character width is `charWidth` (not above 0: not measured, unscaled).
int ScaledLength(int layoutPixels, double charWidth);

// The width of a column laid out `layoutWidth` pixels wide, shown in a font
// whose average character width is `charWidth`: scaled, and never narrower
// than its header text (`headerExtent` pixels) with the header's padding.
// A hidden column (0) stays hidden and the list's own automatic widths
// (negative) pass unchanged; a font that could not be measured (charWidth
// not above 0) keeps the laid-out width.
int ScaledColumnWidth(int layoutWidth, double charWidth, int headerExtent = 0);

// How wide a window laid out `layoutSpan` pixels wide over columns laid out
// `layoutWidths` wide must be shown so that it holds the same columns whole,
// now `shownWidths` wide: the column it ended in is held whole too, so that
// no header shows only its first letters. Past the last column the
// remainder keeps the last column's scale.
int ShownSpan(std::span<const int> layoutWidths, std::span<const int> shownWidths, int layoutSpan);

// Whether a cell text `textExtent` pixels wide is cut in a column
// `columnWidth` pixels wide whose text starts `indent` pixels further in
// (past an image).
bool CellTextCut(int textExtent, int columnWidth, int indent = 0);

} // namespace zib
