#include "tests/app/gui/driver/MidiWindowProbe.h"

#include "app/CMainFrame.h"
#include "ui/ListColumns.h"
#include "ui/core/CommandIds.h"
#include "devices/CZibMidBarView.h"
#include "mididoc/CChildSplitterMidFrame.h"
#include "mididoc/CEventListCtrl.h"
#include "mididoc/CMidiEditFrameWndEx.h"
#include "mididoc/CMidiWindowPlayer.h"
#include "mididoc/CTrackListCtrl.h"
#include "mididoc/CZibMidView.h"
#include "mididoc/CZibMidWxDoc.h"
#include "mididoc/core/MidiCommands.h"
#include "mididoc/core/MidiDocMenu.h"
#include "mididoc/dialogs/CPositionDialogs.h"
#include "platform/WxText.h"

#include "tests/app/gui/driver/ScreenArea.h"

#include <cstdio>
#include <wx/app.h>
#include <wx/grid.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/scrolwin.h>
#include <wx/splitter.h>
#include <wx/textctrl.h>

namespace zib {

namespace {

// The first window of that kind under a window (itself included), or null
template <typename Window>
Window* firstUnder(wxWindow* window)
{
    if (!window) return nullptr;
    if (auto* found = dynamic_cast<Window*>(window)) return found;
    for (wxWindow* child : window->GetChildren())
        if (Window* found = firstUnder<Window>(child)) return found;
    return nullptr;
}

} // namespace

bool RunMidiWindowProbe(const std::vector<std::string>& w, const std::function<void(const std::string&)>& log)
{
    const std::string verb = w.empty() ? std::string() : w[0];
    if (verb == "label-type" && w.size() > 1) {
        // The open label editor of the active child's list takes the text; it stays open
        CMainFrame* frame = CMainFrame::Get();
        wxListCtrl* list = firstUnder<wxListCtrl>(frame ? frame->ActiveZibChild() : nullptr);
        wxTextCtrl* text = list ? list->GetEditControl() : nullptr;
        if (text) text->SetValue(wxFromUtf8(w[1]));
        log(std::string("label-type: ") + (text ? w[1] : "no editor"));
        return true;
    }
    if (verb == "grid-type" && w.size() > 3) {
        // A double click on a cell of the active event list, the text typed into its editor; no Enter
        CMainFrame* frame = CMainFrame::Get();
        CEventListCtrl* grid = firstUnder<CEventListCtrl>(frame ? frame->ActiveZibChild() : nullptr);
        const int row = std::atoi(w[1].c_str()), col = std::atoi(w[2].c_str());
        if (grid) {
            wxGridEvent click(grid->GetId(), wxEVT_GRID_CELL_LEFT_DCLICK, grid, row, col);
            grid->ProcessWindowEvent(click);
            wxTheApp->ProcessPendingEvents();
        }
        wxGridCellEditor* editor = grid && grid->IsCellEditControlEnabled() ? grid->GetCellEditor(row, col) : nullptr;
        auto* text = editor ? dynamic_cast<wxTextCtrl*>(editor->GetWindow()) : nullptr;
        if (text) {
            const std::string before = wxToUtf8(text->GetValue());
            text->SetValue(wxFromUtf8(w[3] == "-" ? std::string() : w[3]));
            log("grid-type " + w[1] + "," + w[2] + ": " + before + " -> " + wxToUtf8(text->GetValue()));
        } else {
            log("grid-type " + w[1] + "," + w[2] + ": no editor");
        }
        if (editor) editor->DecRef();
        return true;
    }
    if (verb == "event-rclick" && w.size() > 2) {
        CMainFrame* frame = CMainFrame::Get();
        auto* editor = frame ? dynamic_cast<CMidiEditFrameWndEx*>(frame->ActiveZibChild()) : nullptr;
        if (!editor) {
            log("event-menu: no event editor");
            return true;
        }
        CEventListCtrl& grid = editor->List();
        const int answer = w.size() > 3 ? cmd::ToWxId(std::atoi(w[3].c_str())) : wxID_NONE;
        bool shown = false;
        CEventListCtrl::ContextMenuAnswer() = [&](wxMenu& menu) {
            shown = true;
            std::string items;
            for (int id : {midicmd::EditCut, midicmd::EditCopy, midicmd::EditPaste, midicmd::Delete})
                items += " " + std::to_string(id) + "=" + std::to_string(menu.IsEnabled(cmd::ToWxId(id)));
            log("event-menu:" + items);
            return answer;
        };
        wxGridEvent click(grid.GetId(), wxEVT_GRID_CELL_RIGHT_CLICK, &grid, std::atoi(w[1].c_str()),
                          std::atoi(w[2].c_str()));
        grid.ProcessWindowEvent(click);
        CEventListCtrl::ContextMenuAnswer() = nullptr;
        wxTheApp->ProcessPendingEvents();
        if (!shown) log("event-menu: none");
        return true;
    }
    if (verb != "midi-rows" && verb != "midi-layout" && verb != "midi-scroll" && verb != "midi-click" &&
        verb != "midi-dclick" && verb != "midi-live-value" && verb != "midi-bar-row")
        return false;
    if (verb == "midi-live-value") {
        CPositionDlg* box = nullptr;
        for (wxWindow* top : wxTopLevelWindows)
            if (!box) box = dynamic_cast<CPositionDlg*>(top);
        auto* edit = box ? dynamic_cast<wxTextCtrl*>(box->FindWindow(1766)) : nullptr;
        if (!edit) {
            log("midi-live-value: no box");
            return true;
        }
        edit->ChangeValue(wxFromUtf8(w.size() > 1 ? w[1] : std::string()));
        wxCommandEvent typed(wxEVT_TEXT, edit->GetId());
        typed.SetEventObject(edit);
        edit->ProcessWindowEvent(typed);
        wxKeyEvent enter(wxEVT_CHAR_HOOK);
        enter.m_keyCode = WXK_RETURN;
        enter.SetEventObject(edit);
        edit->ProcessWindowEvent(enter);
        wxTheApp->ProcessPendingEvents();
        log("midi-live-value " + w[1]);
        return true;
    }
    CMainFrame* frame = CMainFrame::Get();
    auto* child = frame ? dynamic_cast<CChildSplitterMidFrame*>(frame->ActiveZibChild()) : nullptr;
    CZibMidWxDoc* doc = child ? CZibMidWxDoc::OfWindow(child) : nullptr;
    CTrackListCtrl* list = doc && doc->TrackView() ? doc->TrackView()->TrackList() : nullptr;
    if (!list || !child->Player()) {
        log(verb + ": no MIDI window");
        return true;
    }
    CZibMidBarView& grid = child->Player()->View();
    if ((verb == "midi-click" || verb == "midi-dclick") && w.size() > 2) {
        // The cell's middle in the coordinates of the rows window
        const long row = std::atol(w[1].c_str());
        const int column = std::atoi(w[2].c_str());
        wxRect cell;
        list->GetSubItemRect(row, column, cell);
        wxPoint at = cell.GetPosition() + wxPoint(cell.width / 2, cell.height / 2);
        int flags = 0;
        if (list->HitTest(at, flags) != row) at.y -= list->RowsWindow()->GetPosition().y;
        wxMouseEvent down(verb == "midi-click" ? wxEVT_LEFT_DOWN : wxEVT_LEFT_DCLICK);
        down.SetPosition(at);
        down.SetEventObject(list->RowsWindow());
        list->RowsWindow()->ProcessWindowEvent(down);
        wxTheApp->ProcessPendingEvents();
        log(verb + " " + w[1] + " " + w[2]);
        return true;
    }
    if (verb == "midi-bar-row" && w.size() > 1) {
        // What the screen shows of a row of the bar grid: its pixels of
        // content (white), hatching (black; the position cursor is a black
        // line too) and event marks
        const int row = std::atoi(w[1].c_str());
        auto* canvas = firstUnder<wxScrolledCanvas>(&grid);
        if (!canvas) {
            log("midi-bar-row: no grid");
            return true;
        }
        const int top = row * grid.RowHeight() - grid.ScrollY();
        const wxRect area(canvas->ClientToScreen(wxPoint(0, top)),
                          wxSize(canvas->GetClientSize().x, grid.RowHeight()));
        const wxImage image = ScreenArea(area);
        int content = 0, hatch = 0, marks = 0;
        for (int y = 0; y < image.GetHeight(); ++y)
            for (int x = 0; x < image.GetWidth(); ++x) {
                const unsigned long rgb = (unsigned long)(image.GetRed(x, y)) << 16 |
                                          image.GetGreen(x, y) << 8 | image.GetBlue(x, y);
                content += rgb == BarGridModel::kContentColor;
                hatch += rgb == 0; // the hatching's stipple paints black
                marks += rgb == BarGridModel::kMarkColor;
            }
        log("midi-bar-row " + w[1] + ": content=" + std::to_string(content) +
            " hatch=" + std::to_string(hatch) + " marks=" + std::to_string(marks));
        return true;
    }
    if (verb == "midi-scroll" && w.size() > 2) {
        const int row = std::atoi(w[2].c_str());
        if (w[1] == "grid") {
            grid.ScrollToVPos(row * grid.RowHeight());
        } else {
            list->Scroll(-1, row);
        }
        wxTheApp->ProcessPendingEvents();
        log("midi-scroll " + w[1] + " " + w[2]);
        return true;
    }
    if (verb == "midi-layout") {
        char charWidth[32];
        std::snprintf(charWidth, sizeof charWidth, "%.2f", FontCharWidth(*list));
        std::string columns;
        for (int c = 0; c < list->GetColumnCount(); ++c)
            columns += (c ? "," : "") + std::to_string(list->GetColumnWidth(c));
        log("midi-layout: pane=" + std::to_string(child->Splitter()->GetSashPosition()) + " char=" +
            charWidth + " measure=" + std::to_string(grid.MeasureWidth(0)) + " columns=" + columns);
        return true;
    }
    wxRect item;
    list->GetItemRect(0, item);
    int x = 0, top = 0;
    list->GetViewStart(&x, &top); // the report list scrolls by rows
    log("midi-rows: list=" + std::to_string(top) +
        " grid=" + std::to_string(grid.ScrollY() / grid.RowHeight()) +
        " height=" + std::to_string(item.height) + " grid-height=" + std::to_string(grid.RowHeight()));
    return true;
}

} // namespace zib
