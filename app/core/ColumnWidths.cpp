#include "app/core/ColumnWidths.h"

#include <algorithm>
#include <cmath>

namespace zib {

double AverageCharWidth(int sampleExtent)
{
    return sampleExtent > 0 ? double(sampleExtent) / double(kCharWidthSample.size()) : 0.0;
}

int ScaledColumnWidth(int layoutWidth, double charWidth, int headerExtent)
{
    if (layoutWidth <= 0) return layoutWidth;
    const int scaled = charWidth > 0 ? int(std::lround(layoutWidth * charWidth / kLayoutCharWidth)) : layoutWidth;
    return headerExtent > 0 ? std::max(scaled, headerExtent + kHeaderTextPadding) : scaled;
}

bool CellTextCut(int textExtent, int columnWidth, int indent)
{
    return textExtent > 0 && textExtent + indent + kCellTextPadding > columnWidth;
}

} // namespace zib
