#include "devices/CZibMidBarView.h"

#include "ui/ShellServices.h"
#include "ui/ListColumns.h"
#include "ui/ZibMessageBox.h"
#include "ui/core/PlayerSlot.h"
#include "devices/core/IPlaybackDocument.h"
#include "devices/core/PlaybackHost.h"
#include "devices/core/RecordingCanvas.h"
#include "midi/CMidiParserEx.h"
#include "platform/WxText.h"

#include <algorithm>
#include <wx/bitmap.h>
#include <wx/dcbuffer.h>
#include <wx/menu.h>
#include <wx/scrolwin.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

namespace zib {

namespace {

constexpr int kLoopButton = 32927;
constexpr int kPlayButton = 32912;
constexpr int kRecordButton = 32915;

wxColour colourOf(uint32_t rgb)
{
    return wxColour((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// The 8 x 8 pattern of alternating rows 0xAA and 0x55
const wxBitmap& hatchStipple()
{
    static const wxBitmap stipple = [] {
        static const char bits[] = {char(0xAA), char(0x55), char(0xAA), char(0x55),
                                    char(0xAA), char(0x55), char(0xAA), char(0x55)};
        return wxBitmap(bits, 8, 8);
    }();
    return stipple;
}

// Draws what a window-free painter recorded.
void replay(wxDC& dc, const RecordingCanvas& canvas)
{
    for (const auto& c : canvas.Commands()) {
        switch (c.op) {
        case RecordingCanvas::Op::Fill:
            dc.SetPen(*wxTRANSPARENT_PEN);
            dc.SetBrush(wxBrush(colourOf(c.color)));
            dc.DrawRectangle(c.x, c.y, c.x2, c.y2);
            break;
        case RecordingCanvas::Op::Hatch: {
            wxBrush brush(hatchStipple());
            dc.SetPen(*wxTRANSPARENT_PEN);
            dc.SetBrush(brush);
            dc.SetTextForeground(colourOf(c.color));
            dc.DrawRectangle(c.x, c.y, c.x2, c.y2);
            break;
        }
        case RecordingCanvas::Op::Line:
            dc.SetPen(wxPen(colourOf(c.color)));
            // The end point belongs to the line.
            if (c.x == c.x2 && c.y == c.y2)
                dc.DrawPoint(c.x, c.y);
            else
                dc.DrawLine(c.x, c.y, c.x2 + (c.x2 > c.x) - (c.x2 < c.x), c.y2 + (c.y2 > c.y) - (c.y2 < c.y));
            break;
        case RecordingCanvas::Op::Text:
            dc.SetTextForeground(colourOf(c.color));
            dc.DrawText(wxFromUtf8(c.text), c.x, c.y);
            break;
        }
    }
}

} // namespace

// The header strip over the grid: measure numbers, scrolled with the grid.
class CZibMidBarView::Header : public wxWindow {
public:
    explicit Header(CZibMidBarView* owner)
        : wxWindow(owner, wxID_ANY, wxDefaultPosition, wxSize(-1, BarGridModel::kHeaderHeight)), m_owner(owner)
    {
        SetBackgroundStyle(wxBG_STYLE_PAINT);
        SetMinSize(wxSize(-1, BarGridModel::kHeaderHeight));
        Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
            wxAutoBufferedPaintDC dc(this);
            m_owner->PaintHeader(dc, GetClientSize().x);
        });
        Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& e) { m_owner->OnHeaderClick(e.GetX()); });
    }

private:
    CZibMidBarView* m_owner;
};

// The grid's scrolled canvas.
class CZibMidBarView::Grid : public wxScrolledCanvas {
public:
    explicit Grid(CZibMidBarView* owner)
        : wxScrolledCanvas(owner, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                           wxHSCROLL | wxVSCROLL | wxFULL_REPAINT_ON_RESIZE),
          m_owner(owner)
    {
        SetBackgroundStyle(wxBG_STYLE_PAINT);
        SetScrollRate(12, owner->m_grid.RowHeight());
        Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
            wxAutoBufferedPaintDC dc(this);
            int sx = 0, sy = 0;
            CalcUnscrolledPosition(0, 0, &sx, &sy);
            const wxSize size = GetClientSize();
            m_owner->PaintGrid(dc, sx, sy, size.x, size.y);
        });
        // The header follows the horizontal scroll.
        for (const auto type : {wxEVT_SCROLLWIN_TOP, wxEVT_SCROLLWIN_BOTTOM, wxEVT_SCROLLWIN_LINEUP,
                                wxEVT_SCROLLWIN_LINEDOWN, wxEVT_SCROLLWIN_PAGEUP, wxEVT_SCROLLWIN_PAGEDOWN,
                                wxEVT_SCROLLWIN_THUMBTRACK, wxEVT_SCROLLWIN_THUMBRELEASE})
            Bind(type, [this](wxScrollWinEvent& e) {
                e.Skip();
                CallAfter([this] {
                    m_owner->m_header->Refresh(false);
                    m_owner->RowsScrolled();
                });
            });
    }
    void ScrollWindow(int dx, int dy, const wxRect* rect) override
    {
        wxScrolledCanvas::ScrollWindow(dx, dy, rect);
        if (dx) m_owner->m_header->Refresh(false);
        if (dy) m_owner->RowsScrolled();
    }

private:
    CZibMidBarView* m_owner;
};

CZibMidBarView::CZibMidBarView(wxWindow* parent, IPlaybackDocument& document, PlaybackHost& host, Windows windows)
    : wxWindow(parent, wxID_ANY), WxPlaybackUi(this), m_document(document), m_host(host), m_windows(windows)
{
    m_engine = std::make_unique<PlaybackEngine>(document, *this, host);
    // Measures and rows laid out for a small dialog font, in the font shown here
    m_grid.SetCharWidth(FontCharWidth(*this));
    m_header = new Header(this);
    m_canvas = new Grid(this);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_header, 0, wxEXPAND);
    sizer->Add(m_canvas, 1, wxEXPAND);
    SetSizer(sizer);
}

CZibMidBarView::~CZibMidBarView()
{
    m_engine.reset(); // before the windows it reports to
}

bool CZibMidBarView::PopulateView()
{
    if (!m_engine->PrepareForDocument()) {
        ZibTextBox(wxString::Format(UiTextWx("Warning: Cannot manage this file. Number of bars in this file is "
                                             "over application limit (%d)"),
                                    BarGridModel::kMeasures),
                   "PopulateView", wxOK | wxICON_STOP, this);
        return false;
    }
    {
        auto lock = m_engine->LockSequence();
        m_grid.Rebuild(m_engine->MeasureTable(), m_document.Sequence());
    }
    m_canvas->SetVirtualSize(m_grid.TotalWidth(), BarGridModel::kRows * m_grid.RowHeight());
    m_filled = true;
    m_header->Refresh(false);
    m_canvas->Refresh(false);
    return true;
}

void CZibMidBarView::SetRowSelected(int row, bool selected)
{
    if (row < 0 || row >= BarGridModel::kRows) return;
    m_selected[size_t(row)] = selected;
    m_canvas->Refresh(false);
}

void CZibMidBarView::ScrollToVPos(int pos)
{
    int x = 0, y = 0;
    m_canvas->GetViewStart(&x, &y);
    m_canvas->Scroll(x, pos / m_grid.RowHeight());
    RowsScrolled();
}

void CZibMidBarView::HandleNavKey(int keyCode)
{
    int x = 0, y = 0;
    m_canvas->GetViewStart(&x, &y);
    int ux = 1, uy = 1;
    m_canvas->GetScrollPixelsPerUnit(&ux, &uy);
    ux = std::max(ux, 1);
    const int page = std::max(1, m_canvas->GetClientSize().y / m_grid.RowHeight());
    const uint32_t measure = m_grid.MeasureAtX(ScrollX());
    switch (keyCode) {
    case WXK_PAGEUP: y -= page; break;
    case WXK_PAGEDOWN: y += page; break;
    case WXK_HOME: x = 0; break;
    case WXK_END: x = m_grid.ColumnLeft(BarGridModel::kMeasures - 1) / ux; break;
    case WXK_LEFT: x = m_grid.ColumnLeft(measure > 0 ? measure - 1 : 0) / ux; break;
    case WXK_RIGHT: x = m_grid.ColumnLeft(measure + 1) / ux; break;
    case WXK_UP: --y; break;
    case WXK_DOWN: ++y; break;
    default: return;
    }
    m_canvas->Scroll(std::max(x, 0), std::max(y, 0));
    m_header->Refresh(false);
    RowsScrolled();
}

void CZibMidBarView::SetHeaderHeight(int height)
{
    height = std::max(height, int(BarGridModel::kHeaderHeight));
    m_header->SetMinSize(wxSize(-1, height));
    m_header->SetSize(wxSize(-1, height));
    Layout();
}

void CZibMidBarView::RowsScrolled()
{
    int x = 0, y = 0;
    m_canvas->GetViewStart(&x, &y);
    if (y == m_topRow) return;
    m_topRow = y;
    if (m_rowsScrolled) m_rowsScrolled(y);
}

int CZibMidBarView::ScrollY() const
{
    int sx = 0, sy = 0;
    m_canvas->CalcUnscrolledPosition(0, 0, &sx, &sy);
    return sy;
}

int CZibMidBarView::ScrollX() const
{
    int sx = 0, sy = 0;
    m_canvas->CalcUnscrolledPosition(0, 0, &sx, &sy);
    return sx;
}

// ---- Painting ------------------------------------------------------------------------------------

void CZibMidBarView::PaintGrid(wxDC& dc, int scrollX, int scrollY, int width, int height)
{
    dc.SetBackground(wxBrush(colourOf(BarGridModel::kWindowColor)));
    dc.Clear();
    if (!m_filled) return;
    RecordingCanvas canvas;
    {
        // While recording the delivery thread inserts into the sequence.
        auto lock = m_engine->LockSequence();
        const auto& events = m_document.Sequence().GetEvents();
        std::array<BarGridModel::Row, BarGridModel::kRows> rows{};
        for (int r = 0; r < BarGridModel::kRows; ++r) {
            const int64_t first = m_engine->FirstShownEvent(r + 1);
            const int64_t last = m_engine->LastTrackEvent(r + 1);
            BarGridModel::Row& row = rows[size_t(r)];
            row.selected = m_selected[size_t(r)];
            if (last < 0 || last >= int64_t(events.size())) continue;
            row.hasData = true;
            row.contentEnd = events[size_t(last)]->time;
            row.contentStart = first >= 0 && first < int64_t(events.size()) ? events[size_t(first)]->time : row.contentEnd;
        }
        m_grid.PaintRows(canvas, m_document.Sequence(), {scrollX, scrollY, width, height}, rows,
                         m_engine->From().tick, m_engine->Thru().tick);
    }
    replay(dc, canvas);
    // The cursor: a line over the grid, nothing saved under it
    uint32_t m = 0, b = 0, t = 0;
    m_engine->MeasureTable().TicksToMbt(m_engine->CursorTick(), m, b, t);
    m_cursorX = m_grid.PositionX(m, b, t);
    dc.SetPen(*wxBLACK_PEN);
    dc.DrawLine(m_cursorX - scrollX, 0, m_cursorX - scrollX, height);
}

void CZibMidBarView::PaintHeader(wxDC& dc, int width)
{
    RecordingCanvas canvas;
    if (m_filled) m_grid.PaintHeader(canvas, ScrollX(), width);
    dc.SetBackground(wxBrush(colourOf(BarGridModel::kWindowColor)));
    dc.Clear();
    dc.SetFont(wxFont(wxFontInfo(7)));
    replay(dc, canvas);
}

void CZibMidBarView::OnHeaderClick(int x)
{
    if (!m_filled) return;
    const int at = ScrollX() + x;
    const uint32_t measure = m_grid.MeasureAtX(at);
    const bool rightHalf = at - m_grid.ColumnLeft(measure) > m_grid.ColumnWidthOf(measure) / 2;
    m_engine->GoToMeasureColumn(measure, rightHalf);
}

// ---- PlaybackUi --------------------------------------------------------------------------------

void CZibMidBarView::RequestDelivery()
{
    // From the delivery thread: the engine's updates are taken on the UI thread.
    CallAfter([this] { m_engine->DeliverUi(); });
}

void CZibMidBarView::SetPositionText(const std::string& text)
{
    if (m_windows.position) m_windows.position->ChangeValue(wxFromUtf8(text));
    if (m_windows.frame) m_windows.frame->SetPositionText(text);
}

void CZibMidBarView::SetFromText(const std::string& text)
{
    if (m_windows.from) m_windows.from->ChangeValue(wxFromUtf8(text));
    if (m_windows.frame) m_windows.frame->SetFromText(text);
}

void CZibMidBarView::SetThruText(const std::string& text)
{
    if (m_windows.thru) m_windows.thru->ChangeValue(wxFromUtf8(text));
    if (m_windows.frame) m_windows.frame->SetThruText(text);
}

void CZibMidBarView::SetTempoText(const std::string& text)
{
    if (m_windows.tempo) m_windows.tempo->ChangeValue(wxFromUtf8(text));
    if (m_windows.frame) m_windows.frame->SetTempoText(text);
}

void CZibMidBarView::EditorsFollowTick(uint32_t tick)
{
    if (m_windows.frame) m_windows.frame->EditorsFollowTick(tick);
}

void CZibMidBarView::SyncEditorsToTick(uint32_t tick)
{
    if (m_windows.frame) m_windows.frame->SyncEditorsToTick(tick);
}

void CZibMidBarView::EditorsToEventIndex(int64_t index)
{
    if (m_windows.frame) m_windows.frame->EditorsToEventIndex(index);
}

void CZibMidBarView::RefreshTempoEditor()
{
    if (m_windows.frame) m_windows.frame->RefreshTempoEditor();
}

void CZibMidBarView::RefreshEventEditor()
{
    if (m_windows.frame) m_windows.frame->RefreshEventEditor();
}

void CZibMidBarView::DrawCursor()
{
    if (!m_filled) return;
    uint32_t m = 0, b = 0, t = 0;
    m_engine->MeasureTable().TicksToMbt(m_engine->CursorTick(), m, b, t);
    const int width = m_canvas->GetClientSize().x;
    const bool playing = m_host.Player().IsPlaying() && m_host.Player().Active() == m_engine.get();
    const int to = m_grid.ScrollToShow(m, ScrollX(), width, playing);
    if (to >= 0) {
        int ux = 1, uy = 1;
        m_canvas->GetScrollPixelsPerUnit(&ux, &uy);
        int vx = 0, vy = 0;
        m_canvas->GetViewStart(&vx, &vy);
        m_canvas->Scroll(to / std::max(ux, 1), vy);
        m_canvas->Refresh(false);
        return;
    }
    const int x = m_grid.PositionX(m, b, t);
    if (x == m_cursorX) return;
    const int height = m_canvas->GetClientSize().y;
    const int sx = ScrollX();
    m_canvas->RefreshRect(wxRect(m_cursorX - sx - 1, 0, 3, height), false);
    m_canvas->RefreshRect(wxRect(x - sx - 1, 0, 3, height), false);
}

void CZibMidBarView::SetLoopButton(bool on)
{
    if (ShellServices* shell = ShellServices::Get()) shell->CheckToolbarButton(kLoopButton, on ? 1 : 0);
}

void CZibMidBarView::PlaybackFinished(bool sequenceChanged)
{
    if (ZibMdiParentFrame* frame = ShellFrame()) {
        for (const int id : {kPlayButton, kRecordButton}) {
            Shell().CheckToolbarButton(id, 0);
            if (wxMenuBar* bar = frame->GetMenuBar())
                if (wxMenuItem* item = bar->FindItem(id >= 0x8000 ? id - 0x8000 : id); item && item->IsCheckable())
                    item->Check(false);
        }
        frame->Update();
    }
    if (sequenceChanged) PopulateView();
    m_canvas->Refresh(false);
    if (m_windows.frame) m_windows.frame->PlaybackFinished(sequenceChanged);
}

} // namespace zib
