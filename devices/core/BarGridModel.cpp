#include "devices/core/BarGridModel.h"

#include "ui/core/ColumnWidths.h"
#include "devices/core/CMeasureTable.h"
#include "devices/core/RecordingCanvas.h"
#include "midi/CMidiParserEx.h"

#include <algorithm>
#include <numeric>
#include <string>

namespace zib {

int BarGridModel::ColumnWidth(int numerator, int denominator)
{
    int factor = 12;
    switch (denominator) {
    case 32: factor = 2; break;
    case 16: factor = 3; break;
    case 8: factor = 6; break;
    case 4: factor = 12; break;
    case 2: factor = 24; break;
    case 1: factor = 48; break;
    default: break;
    }
    return std::max(1, numerator) * factor;
}

int BarGridModel::Level(int value)
{
    static constexpr int kBounds[] = {3, 9, 14, 20, 26, 31, 37, 42, 48, 53, 59, 64,
                                      70, 76, 81, 87, 92, 98, 103, 108, 115, 120, 125};
    int level = 1;
    for (const int bound : kBounds) {
        if (value < bound) return level;
        ++level;
    }
    return level; // 24
}

void BarGridModel::SetCharWidth(double charWidth)
{
    m_charWidth = charWidth;
    m_rowHeight = std::max(1, Scaled(kLayoutRowHeight));
}

int BarGridModel::Scaled(int layoutPixels) const
{
    return ScaledLength(layoutPixels, m_charWidth);
}

void BarGridModel::Rebuild(const CMeasureTable& measures, const CMidiParserEx& sequence)
{
    m_left[0] = 0;
    for (uint32_t m = 0; m < kMeasures; ++m) {
        const CMeasureTable::Row& row = measures.At(m);
        m_start[m] = row.startTick;
        m_length[m] = std::max<uint32_t>(1, row.length);
        m_numerator[m] = std::max<uint8_t>(1, row.numerator);
        m_left[m + 1] = m_left[m] + std::max(1, Scaled(ColumnWidth(row.numerator, row.denominator)));
    }
    m_start[kMeasures] = m_start[kMeasures - 1] + m_length[kMeasures - 1];

    // The first event at or after each measure's start
    const auto& events = sequence.GetEvents();
    size_t j = 0;
    for (uint32_t m = 0; m <= kMeasures; ++m) {
        while (j < events.size() && events[j]->time < m_start[m]) ++j;
        m_firstEvent[m] = j;
    }

    // A note that starts before a measure and sounds into it is drawn there
    // too: each measure reaches back to the earliest such note. Notes come
    // in index order, so the first one to claim a measure is the earliest;
    // `next` skips the measures already claimed.
    m_reachBack = m_firstEvent;
    std::array<uint32_t, kMeasures + 2> next{};
    std::iota(next.begin(), next.end(), 0u);
    const auto find = [&next](uint32_t m) {
        uint32_t root = m;
        while (next[root] != root) root = next[root];
        while (next[m] != root) {
            const uint32_t up = next[m];
            next[m] = root;
            m = up;
        }
        return root;
    };
    uint32_t measure = 0;
    for (size_t i = 0; i < events.size(); ++i) {
        const CMidiEvent& e = *events[i];
        while (measure + 1 < kMeasures && m_start[measure + 1] <= e.time) ++measure;
        if ((e.status & 0xF0) != 0x90 || e.data.size() < 2 || e.data[1] == 0 || e.duration == 0) continue;
        const uint64_t end = uint64_t(e.time) + e.duration;
        for (uint32_t m = find(measure + 1); m < kMeasures && m_start[m] <= end; m = find(m)) {
            m_reachBack[m] = std::min(m_reachBack[m], i);
            next[m] = m + 1;
        }
    }
}

int BarGridModel::ColumnLeft(uint32_t measure) const
{
    return m_left[std::min<uint32_t>(measure, kMeasures)];
}

int BarGridModel::ColumnWidthOf(uint32_t measure) const
{
    const uint32_t m = std::min<uint32_t>(measure, kMeasures - 1);
    return m_left[m + 1] - m_left[m];
}

uint32_t BarGridModel::MeasureAtX(int x) const
{
    if (x <= 0) return 0;
    const auto it = std::upper_bound(m_left.begin(), m_left.begin() + kMeasures, x);
    return uint32_t(it - m_left.begin()) - 1;
}

int BarGridModel::TickToX(uint32_t tick) const
{
    if (tick >= m_start[kMeasures]) return TotalWidth();
    const auto it = std::upper_bound(m_start.begin(), m_start.begin() + kMeasures, tick);
    const uint32_t m = it == m_start.begin() ? 0 : uint32_t(it - m_start.begin()) - 1;
    const uint64_t into = tick - std::min(tick, m_start[m]);
    const int x = m_left[m] + int(uint64_t(ColumnWidthOf(m)) * into / m_length[m]);
    return std::min(x, TotalWidth());
}

int BarGridModel::PositionX(uint32_t measure, uint32_t beat, uint32_t tick) const
{
    if (measure >= kMeasures) return TotalWidth();
    const uint32_t length = m_length[measure];
    const uint32_t perBeat = std::max<uint32_t>(1, length / m_numerator[measure]);
    const uint64_t into = uint64_t(beat) * perBeat + tick;
    return std::min(m_left[measure] + int(into * uint64_t(ColumnWidthOf(measure)) / length), TotalWidth());
}

void BarGridModel::VisibleMeasures(int scrollX, int width, uint32_t& first, uint32_t& last) const
{
    first = MeasureAtX(scrollX);
    last = std::min<uint32_t>(MeasureAtX(scrollX + std::max(width, 1) - 1) + 10, kMeasures - 1);
}

int BarGridModel::ScrollToShow(uint32_t measure, int scrollX, int width, bool playing) const
{
    measure = std::min<uint32_t>(measure, kMeasures - 1);
    const int left = m_left[measure], right = m_left[measure + 1];
    const int maxScroll = std::max(0, TotalWidth() - width);
    if (left >= scrollX && right <= scrollX + width) return -1;
    int to = 0;
    if (left >= scrollX)
        to = playing ? left : left - (width - (right - left)) / 2;
    else
        to = measure > 5 ? left - (width - (right - left)) / 2 : 0;
    return std::clamp(to, 0, maxScroll);
}

void BarGridModel::PaintHeader(RecordingCanvas& canvas, int scrollX, int width) const
{
    canvas.Fill(0, 0, width, kHeaderHeight, kWindowColor);
    uint32_t first = 0, last = 0;
    VisibleMeasures(scrollX, width, first, last);
    for (uint32_t m = first; m <= last && m_left[m] - scrollX < width; ++m) {
        const int x = m_left[m] - scrollX;
        canvas.Line(x, 0, x, kHeaderHeight - 1, kGridColor);
        canvas.Text(x + 2, 3, std::to_string(m + 1), kTextColor);
    }
    canvas.Line(0, kHeaderHeight - 1, width, kHeaderHeight - 1, kGridColor);
}

void BarGridModel::PaintRows(RecordingCanvas& canvas, const CMidiParserEx& sequence, const View& view,
                             std::span<const Row> rows, uint32_t fromTick, uint32_t thruTick) const
{
    const int rowHeight = m_rowHeight;
    const int firstRow = std::max(0, view.scrollY / rowHeight);
    const int endRow =
        std::min<int>(int(rows.size()), (view.scrollY + view.height + rowHeight - 1) / rowHeight);
    const auto clipFill = [&](int x0, int x1, int y, uint32_t color) {
        x0 = std::max(x0, 0);
        x1 = std::min(x1, view.width);
        canvas.Fill(x0, y, x1 - x0, rowHeight, color);
    };
    for (int r = firstRow; r < endRow; ++r) {
        const Row& row = rows[size_t(r)];
        const int y = r * rowHeight - view.scrollY;
        canvas.Fill(0, y, view.width, rowHeight, kWindowColor);
        if (row.hasData) {
            clipFill(TickToX(row.contentStart) - view.scrollX, TickToX(row.contentEnd) - view.scrollX + 1, y,
                     kContentColor);
            if (thruTick > fromTick)
                clipFill(TickToX(fromTick) - view.scrollX, TickToX(thruTick) - view.scrollX + 1, y, kFromThruColor);
        }
        if (row.selected) canvas.Hatch(0, y, view.width, rowHeight, kHatchColor);
        canvas.Line(0, y, view.width, y, kGridColor);
        canvas.Line(0, y + rowHeight - 1, view.width, y + rowHeight - 1, kGridColor);
    }
    uint32_t first = 0, last = 0;
    VisibleMeasures(view.scrollX, view.width, first, last);
    const int bottom = std::min(view.height, endRow * rowHeight - view.scrollY);
    for (uint32_t m = first; m <= last && m_left[m] - view.scrollX < view.width; ++m)
        canvas.Line(m_left[m] - view.scrollX, 0, m_left[m] - view.scrollX, bottom, kGridColor);
    PaintEvents(canvas, sequence, view, first, last);
}

void BarGridModel::PaintEvents(RecordingCanvas& canvas, const CMidiParserEx& sequence, const View& view,
                               uint32_t first, uint32_t last) const
{
    const auto& events = sequence.GetEvents();
    const size_t begin = std::min(m_reachBack[first], events.size());
    const size_t end = std::min(m_firstEvent[std::min<uint32_t>(last + 1, kMeasures)], events.size());
    const uint32_t visibleStart = m_start[first];
    const int rowHeight = m_rowHeight;
    const int firstRow = view.scrollY / rowHeight;
    const int lastRow = (view.scrollY + view.height) / rowHeight;
    // Strokes laid out for 25-pixel rows: note levels and the 5-pixel marks
    const auto level = [this](uint8_t value) { return Scaled(Level(value & 0x7F)); };
    const int markHeight = std::max(1, Scaled(5));
    for (size_t i = begin; i < end; ++i) {
        const CMidiEvent& e = *events[i];
        const int row = int(e.track) - 1;
        if (row < firstRow || row > lastRow || row >= kRows || row < 0) continue;
        const int base =
            (row + 1) * rowHeight - 1 - view.scrollY; // the row's bottom - 1: strokes go up from here
        const int x = TickToX(e.time) - view.scrollX;
        const uint8_t kind = e.status & 0xF0;
        const uint8_t d0 = e.data.empty() ? 0 : e.data[0];
        const uint8_t d1 = e.data.size() > 1 ? e.data[1] : 0;
        if (kind == 0x90 && d1 > 0) {
            if (uint64_t(e.time) + e.duration < visibleStart) continue; // ends before the view
            const int y = base - level(d0);
            const int x1 = e.duration == 0 ? x : std::max(x, TickToX(uint32_t(std::min<uint64_t>(
                                                            uint64_t(e.time) + e.duration, UINT32_MAX))) - view.scrollX - 1);
            canvas.Line(x, y, x1, y, kMarkColor);
            continue;
        }
        if (e.time < visibleStart) continue;
        if (kind == 0x80 || kind == 0x90) {
            if (!e.paired) canvas.Line(x, base - level(d0), x, base - level(d0), kMarkColor);
        } else if (kind == 0xA0 || kind == 0xD0) {
            const int value = (kind == 0xA0 ? d1 : d0) & 0x7F;
            const int height = value * rowHeight / 128;
            if (height > 0) canvas.Line(x, base, x, base - height + 1, kMarkColor);
        } else if (kind == 0xC0) {
            canvas.Line(x, base, x, base - markHeight + 1, kMarkColor);
        } else if (e.status == 0xFF && (d1 == 1 || d1 == 5 || d1 == 6)) {
            canvas.Line(x, base, x, base - markHeight + 1, kMarkColor);
        }
    }
}

} // namespace zib
