#include "ui/CListCtrlCustomDraw.h"

#include "ui/ListColumns.h"

#include <memory>
#include <wx/dcclient.h>
#include <wx/imaglist.h>
#include <wx/settings.h>

namespace zib {

namespace {

constexpr int kTextMargin = 4; // between a cell's edge (or its image) and its text

wxColour colourOf(uint32_t value)
{
    // Colours are 0x00BBGGRR like the list control's own.
    return wxColour(uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16));
}

// A rectangle of the list's client area in the coordinates of its rows window.
wxRect inRowsWindow(const wxListCtrl* list, wxRect rect)
{
    wxWindow* rows = ListRowsWindow(*list);
    if (rows != list) rect.Offset(-rows->GetPosition());
    return rect;
}

} // namespace

CCustomDrawList::CCustomDrawList(wxWindow* parent, wxWindowID id, ListCustomDraw& handler, long style)
    : wxListCtrl(parent, id, wxDefaultPosition, wxDefaultSize, style), handler_(handler)
{
    ListRowsWindow(*this)->Bind(wxEVT_PAINT, &CCustomDrawList::OnPaint, this);
    ShowCutCellTips(*this);
}

void CCustomDrawList::SelectForContextMenu(long row)
{
    if (row < 0 || row >= GetItemCount() || GetItemState(row, wxLIST_STATE_SELECTED)) return;
    for (long i = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); i >= 0;
         i = GetNextItem(i, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
        SetItemState(i, 0, wxLIST_STATE_SELECTED);
    SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
}

void CCustomDrawList::BindContextMenu(std::function<void()> show)
{
    // The list's own right-click notices do not name the row on every
    // platform (and may come twice): the mouse over the rows window does.
    ListRowsWindow(*this)->Bind(wxEVT_RIGHT_UP, [this, show = std::move(show)](wxMouseEvent& event) {
        long row = -1;
        int column = -1;
        ListCellAt(*this, event.GetPosition(), row, column);
        SelectForContextMenu(row);
        show();
    });
}

uint32_t CCustomDrawList::ItemState(long item) const
{
    return uint32_t(GetItemState(item, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED));
}

wxRect CCustomDrawList::RowRect(long item) const
{
    wxRect rect;
    GetItemRect(item, rect, wxLIST_RECT_BOUNDS);
    return inRowsWindow(this, rect);
}

wxRect CCustomDrawList::CellRect(long item, int column) const
{
    wxRect rect;
    GetSubItemRect(item, column, rect, wxLIST_RECT_BOUNDS);
    return inRowsWindow(this, rect);
}

uint32_t CCustomDrawList::Stage(ListDrawContext& context, CustomDrawNotification& n, const wxRect& rect)
{
    context.rect = rect;
    return handler_.HandleCustomDraw(n, [&]() -> ListDrawContext& { return context; });
}

void CCustomDrawList::OnPaint(wxPaintEvent& event)
{
    // Without rows to ask and no whole control to draw, the control paints
    // itself; a control post-paint then draws over it.
    if (!handler_.WantsItemNotifications() && !handler_.DrawsWholeControl()) {
        event.Skip();
        if (handler_.WantsControlPostPaint() && !postPaintPending_) {
            postPaintPending_ = true;
            CallAfter(&CCustomDrawList::PostPaintOverControl);
        }
        return;
    }
    wxWindow* rows = ListRowsWindow(*this);
    wxPaintDC dc(rows);
    if (IsFrozen()) return;
    PaintRows(dc, rows->GetUpdateRegion());
}

void CCustomDrawList::PaintRows(wxDC& dc, const wxRegion& update)
{
    wxWindow* rows = ListRowsWindow(*this);
    ListDrawContext context;
    context.dc = &dc;
    context.base = GetFont();
    dc.SetFont(context.base);
    const wxRect whole(rows->GetClientSize());

    CustomDrawNotification pre;
    pre.stage = CustomDrawStage::PrePaint;
    pre.item = -1;
    const uint32_t control = Stage(context, pre, whole);
    if (!(control & kCdrfSkipDefault)) {
        dc.SetBackground(wxBrush(GetBackgroundColour()));
        dc.Clear();
        const bool rowHooks = (control & kCdrfNotifyItemDraw) != 0;
        // The generic list caches its visible rows, and a scroll made in code
        // does not renew that cache: a report list takes its top row from the
        // scroll position (it scrolls by rows).
        int x = 0, top = GetTopItem();
        if (InReportView()) GetViewStart(&x, &top);
        const long first = std::max<long>(top, 0);
        const long last = std::min<long>(GetItemCount(), first + GetCountPerPage() + 2);
        for (long item = first; item < last; ++item) {
            if (update.Contains(RowRect(item)) == wxOutRegion) continue;
            PaintRow(context, item, rowHooks);
        }
    }
    if (control & kCdrfNotifyPostPaint) {
        CustomDrawNotification post;
        post.stage = CustomDrawStage::PostPaint;
        post.item = -1;
        Stage(context, post, whole);
    }
}

void CCustomDrawList::PaintRow(ListDrawContext& context, long item, bool rowHooks)
{
    wxDC& dc = *context.dc;
    const wxRect row = RowRect(item);
    CustomDrawNotification n;
    n.stage = CustomDrawStage::ItemPrePaint;
    n.item = item;
    n.state = ItemState(item);
    n.param = ItemParam(item);
    const uint32_t result = rowHooks ? Stage(context, n, row) : kCdrfDoDefault;
    if (!(result & kCdrfSkipDefault)) {
        const bool selected = (n.state & wxLIST_STATE_SELECTED) != 0;
        if (selected || n.backColor != kClrDefault) {
            dc.SetPen(*wxTRANSPARENT_PEN);
            dc.SetBrush(wxBrush(selected ? wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT)
                                         : colourOf(n.backColor)));
            dc.DrawRectangle(row);
        }
        const Colours rowColours{n.textColor, n.backColor};
        for (int column = 0; column < GetColumnCount(); ++column) {
            const wxRect cell = CellRect(item, column);
            CustomDrawNotification c = n;
            c.stage = CustomDrawStage::SubItemPrePaint;
            c.subItem = column;
            c.textColor = c.backColor = kClrDefault;
            const uint32_t cellResult = (result & kCdrfNotifySubItemDraw) ? Stage(context, c, cell) : kCdrfDoDefault;
            if (!(cellResult & kCdrfSkipDefault)) {
                // A cell's own colours go over its row's; its background only where it has one.
                const Colours colours{c.textColor != kClrDefault ? c.textColor : rowColours.text, c.backColor};
                PaintCell(dc, cell, item, column, colours, selected);
            }
            if (cellResult & kCdrfNotifyPostPaint) {
                c.stage = CustomDrawStage::SubItemPostPaint;
                Stage(context, c, cell);
            }
        }
        if (HasFlag(wxLC_HRULES) || HasFlag(wxLC_VRULES)) {
            dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_3DLIGHT)));
            if (HasFlag(wxLC_HRULES)) dc.DrawLine(row.GetLeft(), row.GetBottom(), row.GetRight() + 1, row.GetBottom());
            if (HasFlag(wxLC_VRULES))
                for (int column = 0; column < GetColumnCount(); ++column) {
                    const wxRect cell = CellRect(item, column);
                    dc.DrawLine(cell.GetRight(), row.GetTop(), cell.GetRight(), row.GetBottom() + 1);
                }
        }
        if ((n.state & wxLIST_STATE_FOCUSED) && HasFocus()) {
            dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT), 1, wxPENSTYLE_DOT));
            dc.SetBrush(*wxTRANSPARENT_BRUSH);
            dc.DrawRectangle(row);
        }
    }
    if (result & kCdrfNotifyPostPaint) {
        n.stage = CustomDrawStage::ItemPostPaint;
        Stage(context, n, row);
    }
}

void CCustomDrawList::PaintCell(wxDC& dc, const wxRect& cell, long item, int column, const Colours& colours,
                                bool selected)
{
    wxDCClipper clip(dc, cell);
    if (!selected && colours.back != kClrDefault) {
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(wxBrush(colourOf(colours.back)));
        dc.DrawRectangle(cell);
    }
    int x = cell.x + kTextMargin;
    wxListItem info;
    info.SetId(item);
    info.SetColumn(column);
    info.SetMask(wxLIST_MASK_IMAGE);
    wxImageList* images = GetImageList(wxIMAGE_LIST_SMALL);
    if (images && GetItem(info) && info.GetImage() >= 0) {
        int w = 0, h = 0;
        images->GetSize(info.GetImage(), w, h);
        images->Draw(info.GetImage(), dc, cell.x + 2, cell.y + (cell.height - h) / 2, wxIMAGELIST_DRAW_TRANSPARENT);
        x = cell.x + 2 + w + kTextMargin;
    }
    const wxString text = GetItemText(item, column);
    if (text.empty()) return;
    dc.SetTextForeground(selected                          ? wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHTTEXT)
                         : colours.text != kClrDefault ? colourOf(colours.text)
                                                           : GetForegroundColour());
    wxCoord width = 0, height = 0;
    dc.GetTextExtent(text, &width, &height);
    wxListItem format;
    format.SetMask(wxLIST_MASK_FORMAT);
    if (GetColumn(column, format)) {
        if (format.GetAlign() == wxLIST_FORMAT_RIGHT) x = std::max(x, cell.GetRight() - kTextMargin - width);
        if (format.GetAlign() == wxLIST_FORMAT_CENTRE) x = std::max(x, cell.x + (cell.width - width) / 2);
    }
    dc.DrawText(text, x, cell.y + (cell.height - height) / 2);
}

void CCustomDrawList::PostPaintOverControl()
{
    postPaintPending_ = false;
    wxWindow* rows = ListRowsWindow(*this);
    wxClientDC dc(rows);
    ListDrawContext context;
    context.dc = &dc;
    context.base = GetFont();
    CustomDrawNotification post;
    post.stage = CustomDrawStage::PostPaint;
    post.item = -1;
    Stage(context, post, wxRect(rows->GetClientSize()));
}

CCustomDrawList* CListViewWithCustomDraw::CreateList(wxWindow* frame)
{
    list_ = new CCustomDrawList(frame, wxID_ANY, *this, wxLC_REPORT | wxLC_VIRTUAL | wxBORDER_SIMPLE);
    return list_;
}

} // namespace zib
