#include "ui/core/ColumnWidths.h"

#include <algorithm>
#include <cmath>

namespace zib {

double AverageCharWidth(int sampleExtent)
{
    return sampleExtent > 0 ? double(sampleExtent) / double(kCharWidthSample.size()) : 0.0;
}

int ScaledLength(int layoutPixels, double charWidth)
{
    return charWidth > 0 ? int(std::lround(layoutPixels * charWidth / kLayoutCharWidth)) : layoutPixels;
}

int ScaledColumnWidth(int layoutWidth, double charWidth, int headerExtent)
{
    if (layoutWidth <= 0) return layoutWidth;
    const int scaled = ScaledLength(layoutWidth, charWidth);
    return headerExtent > 0 ? std::max(scaled, headerExtent + kHeaderTextPadding) : scaled;
}

int ShownSpan(std::span<const int> layoutWidths, std::span<const int> shownWidths, int layoutSpan)
{
    const size_t count = std::min(layoutWidths.size(), shownWidths.size());
    double shown = 0;
    double scale = 1;
    int left = std::max(layoutSpan, 0);
    for (size_t c = 0; c < count && left > 0; ++c) {
        if (layoutWidths[c] <= 0) continue;
        scale = double(shownWidths[c]) / layoutWidths[c];
        shown += shownWidths[c];
        left -= std::min(left, layoutWidths[c]);
    }
    return int(std::lround(shown + left * scale));
}

bool CellTextCut(int textExtent, int columnWidth, int indent)
{
    return textExtent > 0 && textExtent + indent + kCellTextPadding > columnWidth;
}

} // namespace zib
