#pragma once

#include "app/core/CustomDrawHandler.h"

#include <wx/dc.h>
#include <wx/docview.h>
#include <wx/listctrl.h>

namespace zib {

// What the drawing hooks of a custom-drawn list get: the device context to
// draw into (null while the list only asks for colours and fonts), the
// rectangle of the row or cell being drawn, and the font selection.
class ListDrawContext {
public:
    wxDC* dc = nullptr;
    wxRect rect;
    wxFont* font = nullptr;

    // Selects a font; returns the one selected before.
    wxFont* SelectFont(wxFont* f)
    {
        wxFont* previous = font;
        font = f;
        if (dc && f) dc->SetFont(*f);
        return previous;
    }
};

using ListCustomDraw = CustomDrawHandler<ListDrawContext, wxFont>;

// A virtual report-style list control that asks a custom-draw handler, stage
// by stage, for row and cell colours and fonts (applied as item attributes)
// and lets it draw rows, cells or the whole control itself (drawn over the
// control once it has painted).
class CCustomDrawList : public wxListCtrl {
public:
    CCustomDrawList(wxWindow* parent, wxWindowID id, ListCustomDraw& handler,
                    long style = wxLC_REPORT | wxLC_VIRTUAL);

    // The item's application value (0 unless a subclass keeps one).
    virtual intptr_t ItemParam(long /*item*/) const { return 0; }
    // The item state bits handed to the hooks.
    uint32_t ItemState(long item) const;

protected:
    // wxListCtrl
    wxItemAttr* OnGetItemAttr(long item) const override;
    wxItemAttr* OnGetItemColumnAttr(long item, long column) const override;

private:
    wxItemAttr* Attr(CustomDrawNotification& n, wxItemAttr& out) const;
    void OnPaint(wxPaintEvent& event);
    void DrawOver();
    void PaintCell(ListDrawContext& context, const wxRect& cell, long item, int column,
                   const CustomDrawNotification& colours);

    ListCustomDraw& handler_;
    mutable wxItemAttr itemAttr_;
    mutable wxItemAttr cellAttr_;
    mutable bool itemNotifications_ = false;
    mutable bool drawPending_ = false;
};

// A list control in dialogs and frames whose subclasses override single hooks.
class CListCtrlCustomDraw : public CCustomDrawList, public ListCustomDraw {
public:
    CListCtrlCustomDraw(wxWindow* parent, wxWindowID id, long style = wxLC_REPORT | wxLC_VIRTUAL)
        : CCustomDrawList(parent, id, *this, style)
    {
    }
};

// A document view that is a custom-drawn list filling its frame; its
// subclasses override single hooks.
class CListViewWithCustomDraw : public wxView, public ListCustomDraw {
public:
    CListViewWithCustomDraw() = default;

    // The list, once the view has a frame (made in OnCreate of the subclass).
    CCustomDrawList* List() const { return list_; }
    // Makes the list in `frame` (bordered, report style).
    CCustomDrawList* CreateList(wxWindow* frame);

    // wxView
    void OnDraw(wxDC*) override {}

private:
    CCustomDrawList* list_ = nullptr;
};

} // namespace zib
