#pragma once

#include "ui/core/CustomDrawHandler.h"

#include <functional>
#include <wx/dc.h>
#include <wx/docview.h>
#include <wx/listctrl.h>

namespace zib {

// What the drawing hooks of a custom-drawn list get: the device context the
// list paints with, the rectangle of the row or cell being drawn (in that
// context's coordinates) and the font selection.
class ListDrawContext {
public:
    wxDC* dc = nullptr;
    wxRect rect;
    wxFont* font = nullptr; // the font selected by a hook, null for the list's own
    wxFont base;            // the list's own font

    // Selects a font; returns the one selected before (the list's own, never
    // null, when no hook has selected one), which selects it back.
    wxFont* SelectFont(wxFont* f)
    {
        wxFont* previous = font ? font : &base;
        font = f == &base ? nullptr : f;
        if (dc) dc->SetFont(f ? *f : base);
        return previous;
    }
};

using ListCustomDraw = CustomDrawHandler<ListDrawContext, wxFont>;

// A report-style list control whose rows a custom-draw handler colours,
// sets in other fonts or draws itself. While the handler asks for row
// notifications or draws the whole control, the list paints its rows itself,
// stage by stage, with one paint context: a hook that draws a row or cell and
// answers "skip" replaces the default drawing of it, and post-paint hooks run
// only when their pre-paint stage asked for them. A handler that asks for
// neither leaves the painting to the control.
class CCustomDrawList : public wxListCtrl {
public:
    CCustomDrawList(wxWindow* parent, wxWindowID id, ListCustomDraw& handler,
                    long style = wxLC_REPORT | wxLC_VIRTUAL);

    // The item's application value (0 unless a subclass keeps one).
    virtual intptr_t ItemParam(long /*item*/) const { return 0; }
    // The item state bits handed to the hooks.
    uint32_t ItemState(long item) const;
    // A row's or cell's rectangle in the coordinates of the window the rows
    // are painted in (the hooks' context).
    wxRect RowRect(long item) const;
    wxRect CellRect(long item, int column) const;
    // Before a context menu: a row the right click hit that is not selected
    // becomes the one selected and focused row; a selected row leaves the
    // selection as it is.
    void SelectForContextMenu(long row);
    // Calls `show` for a right click over the rows once the button is up (a
    // right drag shows nothing), the row under the mouse selected first.
    void BindContextMenu(std::function<void()> show);

private:
    struct Colours {
        uint32_t text = kClrDefault;
        uint32_t back = kClrDefault;
    };

    void OnPaint(wxPaintEvent& event);
    void PaintRows(wxDC& dc, const wxRegion& update);
    void PaintRow(ListDrawContext& context, long item, bool rowHooks);
    void PaintCell(wxDC& dc, const wxRect& cell, long item, int column, const Colours& colours, bool selected);
    void PostPaintOverControl();
    uint32_t Stage(ListDrawContext& context, CustomDrawNotification& n, const wxRect& rect);

    ListCustomDraw& handler_;
    bool postPaintPending_ = false;
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
