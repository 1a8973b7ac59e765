#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace zib {

class CMeasureTable;
class CMidiParserEx;
class RecordingCanvas;

// The grid of the MIDI bar view without a window: one row per track (64,
// laid out 25 pixels high), one column per measure (2000) as wide as its
// time signature says, and the marks of each track's events in each measure.
// The laid-out pixel sizes are those of a small dialog font; in the font the
// view shows they scale as the lists' columns do (ui/core/ColumnWidths.h).
// It lays out the columns, converts ticks to x, finds the measures in view
// and the events to draw there (from an index per measure, never walking the
// song from its start), and paints rows and header into a RecordingCanvas.
//
// Shading: a track's content stretch is white, the From-Thru stretch light
// yellow, a selected row hatched; the rest of a row, and a track without
// data, has the window colour.
class BarGridModel {
public:
    static constexpr int kMeasures = 2000;
    static constexpr int kRows = 64;
    static constexpr int kLayoutRowHeight = 25;
    static constexpr int kHeaderHeight = 20;

    // Colours (0xRRGGBB)
    static constexpr uint32_t kWindowColor = 0xF0F0F0;
    static constexpr uint32_t kContentColor = 0xFFFFFF;
    static constexpr uint32_t kFromThruColor = 0xFFFF91;
    static constexpr uint32_t kHatchColor = 0xA0A0A0;
    static constexpr uint32_t kGridColor = 0xC0C0C0;
    static constexpr uint32_t kMarkColor = 0x000080;
    static constexpr uint32_t kTextColor = 0x000000;

    // A measure's laid-out column width: numerator x 2, 3, 6, 12, 24 or 48
    // for the denominators 32, 16, 8, 4, 2, 1 (12 for any other)
    static int ColumnWidth(int numerator, int denominator);
    // The laid-out stroke height of a 7-bit value: 1 to 24
    static int Level(int value);

    // The average character width of the font the grid is shown in (the
    // next Rebuild lays the columns out in it), and the rows' height there
    void SetCharWidth(double charWidth);
    int RowHeight() const { return m_rowHeight; }

    // Lays out the columns from the measure table (measures past the song take
    // its last signature) and indexes the song's events by measure
    void Rebuild(const CMeasureTable& measures, const CMidiParserEx& sequence);

    // Columns
    int ColumnLeft(uint32_t measure) const;
    int ColumnWidthOf(uint32_t measure) const;
    int TotalWidth() const { return m_left[kMeasures]; }
    // The measure whose column holds x (clamped to the columns)
    uint32_t MeasureAtX(int x) const;
    // x of a tick: the column's left + width x (tick - start) / length, clamped to the grid's right edge
    int TickToX(uint32_t tick) const;
    // x of a position (the cursor): the column's left + (beat x ticks per beat + tick) / length x width,
    // ticks per beat being the length / numerator
    int PositionX(uint32_t measure, uint32_t beat, uint32_t tick) const;
    // The measures whose columns lie in [scrollX, scrollX + width), and ten more
    void VisibleMeasures(int scrollX, int width, uint32_t& first, uint32_t& last) const;
    // Where to scroll so that the cursor's measure can be seen; -1 when it can.
    // A measure after the view comes to the middle (to the left edge while
    // playing); one before it comes back, to the middle after the fifth measure.
    int ScrollToShow(uint32_t measure, int scrollX, int width, bool playing) const;

    // One track row as the view shows it
    struct Row {
        bool hasData = false;
        uint32_t contentStart = 0; // tick of the first shown event
        uint32_t contentEnd = 0;   // tick of the last event
        bool selected = false;
    };
    struct View {
        int scrollX = 0, scrollY = 0; // scroll position in pixels
        int width = 0, height = 0;    // the grid's client size (under the header)
    };
    // Paints the rows in view (row r at y = r x RowHeight() - scrollY):
    // shading, grid lines and the events of the visible measures
    void PaintRows(RecordingCanvas& canvas, const CMidiParserEx& sequence, const View& view,
                   std::span<const Row> rows, uint32_t fromTick, uint32_t thruTick) const;
    // The header strip: measure numbers 1-2000 over their columns
    void PaintHeader(RecordingCanvas& canvas, int scrollX, int width) const;

    // The first event to look at for measure m: the first event of the
    // measure, or an earlier note that still sounds into it
    size_t FirstEventToDraw(uint32_t measure) const { return m_reachBack[measure]; }

private:
    void PaintEvents(RecordingCanvas& canvas, const CMidiParserEx& sequence, const View& view, uint32_t first,
                     uint32_t last) const;
    int Scaled(int layoutPixels) const;

    double m_charWidth = 0; // not measured: the laid-out sizes
    int m_rowHeight = kLayoutRowHeight;

    std::array<int, kMeasures + 1> m_left{};       // column lefts, and the right edge
    std::array<uint32_t, kMeasures + 1> m_start{}; // measure start ticks, and the end of the last
    std::array<uint32_t, kMeasures> m_length{};
    std::array<uint8_t, kMeasures> m_numerator{};
    std::array<size_t, kMeasures + 1> m_firstEvent{}; // first event at or after each measure's start
    std::array<size_t, kMeasures + 1> m_reachBack{};
};

} // namespace zib
