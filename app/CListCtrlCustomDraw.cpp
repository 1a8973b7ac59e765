#include "app/CListCtrlCustomDraw.h"

#include <memory>
#include <wx/dcclient.h>

namespace zib {

namespace {

wxColour colourOf(uint32_t value)
{
    // Colours are 0x00BBGGRR like the list control's own.
    return wxColour(uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16));
}

// The window in which the list draws its rows (the control itself when it has no separate one).
wxWindow* rowsWindow(wxListCtrl* list)
{
    for (wxWindow* child : list->GetChildren())
        if (child->GetClassInfo() && wxString(child->GetClassInfo()->GetClassName()) == "wxListMainWindow")
            return child;
    return list;
}

} // namespace

CCustomDrawList::CCustomDrawList(wxWindow* parent, wxWindowID id, ListCustomDraw& handler, long style)
    : wxListCtrl(parent, id, wxDefaultPosition, wxDefaultSize, style), handler_(handler)
{
    rowsWindow(this)->Bind(wxEVT_PAINT, &CCustomDrawList::OnPaint, this);
}

uint32_t CCustomDrawList::ItemState(long item) const
{
    return uint32_t(GetItemState(item, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED));
}

wxItemAttr* CCustomDrawList::Attr(CustomDrawNotification& n, wxItemAttr& out) const
{
    ListDrawContext context;
    handler_.HandleCustomDraw(n, [&]() -> ListDrawContext& { return context; });
    out = wxItemAttr();
    if (n.textColor != kClrDefault) out.SetTextColour(colourOf(n.textColor));
    if (n.backColor != kClrDefault) out.SetBackgroundColour(colourOf(n.backColor));
    if (context.font) out.SetFont(*context.font);
    // The matching post-paint stage selects the previous font back.
    CustomDrawNotification post = n;
    post.stage = n.stage == CustomDrawStage::ItemPrePaint ? CustomDrawStage::ItemPostPaint
                                                          : CustomDrawStage::SubItemPostPaint;
    ListDrawContext after;
    after.font = context.font;
    handler_.HandleCustomDraw(post, [&]() -> ListDrawContext& { return after; });
    return out.HasTextColour() || out.HasBackgroundColour() || out.HasFont() ? &out : nullptr;
}

wxItemAttr* CCustomDrawList::OnGetItemAttr(long item) const
{
    if (!itemNotifications_) {
        // The control's pre-paint stage tells whether rows are asked at all.
        CustomDrawNotification pre;
        pre.stage = CustomDrawStage::PrePaint;
        ListDrawContext context;
        itemNotifications_ = handler_.HandleCustomDraw(pre, [&]() -> ListDrawContext& { return context; }) &
                             kCdrfNotifyItemDraw;
        if (!itemNotifications_) return nullptr;
    }
    CustomDrawNotification n;
    n.stage = CustomDrawStage::ItemPrePaint;
    n.item = item;
    n.state = ItemState(item);
    n.param = ItemParam(item);
    return Attr(n, itemAttr_);
}

wxItemAttr* CCustomDrawList::OnGetItemColumnAttr(long item, long column) const
{
    wxItemAttr* rowAttr = OnGetItemAttr(item);
    if (!rowAttr && !itemNotifications_) return nullptr;
    const uint32_t state = ItemState(item);
    const intptr_t param = ItemParam(item);
    if (!handler_.WantsCellNotifications(item, state, param)) return rowAttr;
    CustomDrawNotification n;
    n.stage = CustomDrawStage::SubItemPrePaint;
    n.item = item;
    n.subItem = int(column);
    n.state = state;
    n.param = param;
    wxItemAttr* cell = Attr(n, cellAttr_);
    if (!cell) return rowAttr;
    // Cell colours go over the row's.
    if (rowAttr) {
        if (!cell->HasTextColour() && rowAttr->HasTextColour()) cell->SetTextColour(rowAttr->GetTextColour());
        if (!cell->HasBackgroundColour() && rowAttr->HasBackgroundColour())
            cell->SetBackgroundColour(rowAttr->GetBackgroundColour());
        if (!cell->HasFont() && rowAttr->HasFont()) cell->SetFont(rowAttr->GetFont());
    }
    return cell;
}

void CCustomDrawList::OnPaint(wxPaintEvent& event)
{
    itemNotifications_ = false;
    event.Skip();
    if (!drawPending_) {
        drawPending_ = true;
        CallAfter(&CCustomDrawList::DrawOver);
    }
}

void CCustomDrawList::DrawOver()
{
    // The drawing hooks: every stage again, now with a device context made on
    // first use, over what the control has painted.
    drawPending_ = false;
    wxWindow* main = rowsWindow(this);
    std::unique_ptr<wxClientDC> dc;
    ListDrawContext context;
    auto makeDc = [&]() -> ListDrawContext& {
        if (!dc) dc = std::make_unique<wxClientDC>(main);
        context.dc = dc.get();
        return context;
    };
    auto stage = [&](CustomDrawStage s, long item, int subItem, const wxRect& rect,
                     CustomDrawNotification* out = nullptr) {
        CustomDrawNotification n;
        n.stage = s;
        n.item = item;
        n.subItem = subItem;
        if (item >= 0 && s != CustomDrawStage::PrePaint && s != CustomDrawStage::PostPaint) {
            n.state = ItemState(item);
            n.param = ItemParam(item);
        }
        context.rect = rect;
        const uint32_t result = handler_.HandleCustomDraw(n, makeDc);
        if (out) *out = n;
        return result;
    };
    const wxRect whole(main->GetClientSize());
    const uint32_t control = stage(CustomDrawStage::PrePaint, -1, 0, whole);
    if (!(control & kCdrfSkipDefault) && (control & kCdrfNotifyItemDraw)) {
        const long first = GetTopItem();
        const long last = std::min<long>(GetItemCount(), first + GetCountPerPage() + 1);
        for (long item = first; item >= 0 && item < last; ++item) {
            wxRect row;
            GetItemRect(item, row);
            const uint32_t r = stage(CustomDrawStage::ItemPrePaint, item, 0, row);
            if (r & kCdrfNotifySubItemDraw) {
                for (int column = 0; column < GetColumnCount(); ++column) {
                    wxRect cell;
                    GetSubItemRect(item, column, cell);
                    CustomDrawNotification colours;
                    const uint32_t c = stage(CustomDrawStage::SubItemPrePaint, item, column, cell, &colours);
                    // The control paints a row's background only: a cell's own background is painted here,
                    // with its text again on top (not over the selection highlight).
                    if (!(c & kCdrfSkipDefault) && colours.backColor != kClrDefault &&
                        !(colours.state & wxLIST_STATE_SELECTED))
                        PaintCell(makeDc(), cell, item, column, colours);
                    if (c & kCdrfNotifyPostPaint)
                        stage(CustomDrawStage::SubItemPostPaint, item, column, cell);
                }
            }
            if (r & kCdrfNotifyPostPaint) stage(CustomDrawStage::ItemPostPaint, item, 0, row);
        }
    }
    if (control & kCdrfNotifyPostPaint) stage(CustomDrawStage::PostPaint, -1, 0, whole);
}

void CCustomDrawList::PaintCell(ListDrawContext& context, const wxRect& cell, long item, int column,
                                const CustomDrawNotification& colours)
{
    wxDC& dc = *context.dc;
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(colourOf(colours.backColor)));
    dc.DrawRectangle(cell);
    wxItemAttr* attr = OnGetItemColumnAttr(item, column);
    dc.SetFont(attr && attr->HasFont() ? attr->GetFont() : GetFont());
    dc.SetTextForeground(colours.textColor != kClrDefault ? colourOf(colours.textColor)
                                                          : GetForegroundColour());
    wxDCClipper clip(dc, cell);
    const wxString text = GetItemText(item, column);
    const int y = cell.y + (cell.height - dc.GetCharHeight()) / 2;
    dc.DrawText(text, cell.x + 2, y);
}

CCustomDrawList* CListViewWithCustomDraw::CreateList(wxWindow* frame)
{
    list_ = new CCustomDrawList(frame, wxID_ANY, *this, wxLC_REPORT | wxLC_VIRTUAL | wxBORDER_SIMPLE);
    return list_;
}

} // namespace zib
