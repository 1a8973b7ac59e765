#include "tests/app/gui/driver/ViewProbe.h"

#include "app/CMainFrame.h"
#include "ui/CMainToolBar.h"
#include "app/CZibApp.h"
#include "ui/CZibMdiChild.h"
#include "ui/ListColumns.h"
#include "ui/ToolbarArt.h"
#include "ui/core/CommandIds.h"
#include "platform/WxText.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <wx/app.h>
#include <wx/grid.h>
#include <wx/imaglist.h>
#include <wx/listctrl.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

namespace zib {

namespace {

using Log = std::function<void(const std::string&)>;

// The n-th window of a kind below `root` (itself included), breadth first.
template <class T>
T* nthBelow(wxWindow* root, int n)
{
    std::vector<wxWindow*> queue;
    if (root) queue.push_back(root);
    for (size_t i = 0; i < queue.size(); ++i) {
        if (auto* found = dynamic_cast<T*>(queue[i]))
            if (n-- == 0) return found;
        for (wxWindow* child : queue[i]->GetChildren())
            queue.push_back(child);
    }
    return nullptr;
}

template <class T>
T* firstBelow(wxWindow* root)
{
    return nthBelow<T>(root, 0);
}

int textWidth(const wxWindow& window, const wxString& text, const wxFont& font)
{
    int width = 0, height = 0;
    if (!text.empty()) window.GetTextExtent(text, &width, &height, nullptr, nullptr, &font);
    return width;
}

// One column as the user sees it.
struct ShownColumn {
    int width = 0;
    int shown = 0; // the pixels of it inside the list's window, under its header
    wxString header;
    int headerWidth = 0;
    wxString widest; // the widest of the cells looked at
    int widestWidth = 0;

    void TakeCell(const wxString& text, int width)
    {
        if (width > widestWidth) widest = text, widestWidth = width;
    }
};

std::vector<ShownColumn> listColumns(const wxListCtrl& list, int rows)
{
    std::vector<ShownColumn> columns;
    int indent = 0;
    if (wxImageList* images = list.GetImageList(wxIMAGE_LIST_SMALL); images && images->GetImageCount() > 0) {
        int w = 0, h = 0;
        images->GetSize(0, w, h);
        indent = w + 2;
    }
    // The columns from the scrolled-in left edge, as far as the header reaches
    int unitX = 0, unitY = 0, startX = 0, startY = 0;
    list.GetScrollPixelsPerUnit(&unitX, &unitY);
    list.GetViewStart(&startX, &startY);
    int left = -startX * unitX;
    int visible = list.GetClientSize().x;
    for (wxWindow* child : list.GetChildren())
        if (static_cast<const void*>(child) == static_cast<const void*>(list.m_headerWin))
            visible = child->GetClientSize().x;
    for (int c = 0; c < list.GetColumnCount(); ++c) {
        ShownColumn shown;
        wxListItem item;
        item.SetMask(wxLIST_MASK_TEXT);
        list.GetColumn(c, item);
        shown.width = list.GetColumnWidth(c);
        shown.shown = std::max(0, std::min(left + shown.width, visible) - std::max(left, 0));
        left += shown.width;
        shown.header = item.GetText();
        shown.headerWidth = textWidth(list, shown.header, list.GetFont());
        for (long r = 0; r < std::min<long>(rows, list.GetItemCount()); ++r) {
            const wxString text = list.GetItemText(r, c);
            // The first column's text follows the row's image.
            shown.TakeCell(text, textWidth(list, text, list.GetFont()) + (c == 0 && !text.empty() ? indent : 0));
        }
        columns.push_back(shown);
    }
    return columns;
}

std::vector<ShownColumn> gridColumns(const wxGrid& grid, int rows)
{
    std::vector<ShownColumn> columns;
    const int visible = grid.GetGridWindow()->GetClientSize().x;
    int left = grid.CalcScrolledPosition(wxPoint(0, 0)).x;
    for (int c = 0; c < grid.GetNumberCols(); ++c) {
        ShownColumn shown;
        shown.width = grid.GetColSize(c);
        shown.shown = std::max(0, std::min(left + shown.width, visible) - std::max(left, 0));
        left += shown.width;
        shown.header = grid.GetColLabelValue(c);
        shown.headerWidth = textWidth(grid, shown.header, grid.GetLabelFont());
        for (int r = 0; r < std::min(rows, grid.GetNumberRows()); ++r) {
            const wxString text = grid.GetCellValue(r, c);
            shown.TakeCell(text, textWidth(grid, text, grid.GetCellFont(r, c)));
        }
        columns.push_back(shown);
    }
    return columns;
}

void logColumns(int rows, const Log& log)
{
    CZibMdiChild* child = CMainFrame::Get()->ActiveZibChild();
    std::vector<ShownColumn> columns;
    if (auto* grid = firstBelow<wxGrid>(child))
        columns = gridColumns(*grid, rows);
    else if (auto* list = firstBelow<wxListCtrl>(child))
        columns = listColumns(*list, rows);
    else
        return log("columns: none");
    for (size_t c = 0; c < columns.size(); ++c) {
        const ShownColumn& s = columns[c];
        log("column " + std::to_string(c) + ": width=" + std::to_string(s.width) + " header=" +
            std::to_string(s.headerWidth) + " widest=" + std::to_string(s.widestWidth) +
            " shown=" + std::to_string(s.shown) + " |" + wxToUtf8(s.header) +
            "|" + wxToUtf8(s.widest) + "|");
    }
}

// Lets the program take the events the X server sends until `done`; two
// minutes only bound a hang.
void runEventsUntil(const std::function<bool()>& done)
{
    const auto ceiling = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (!done() && std::chrono::steady_clock::now() < ceiling) {
        wxTheApp->Yield(true);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// Moves the real pointer to a point of `window` and waits until the window
// has seen it move there.
void pointTo(wxWindow& window, const wxPoint& at)
{
    wxPoint seenAt(-1, -1);
    auto seen = [&seenAt](wxMouseEvent& event) {
        event.Skip();
        seenAt = event.GetPosition();
    };
    window.Bind(wxEVT_MOTION, seen);
    wxUIActionSimulator pointer;
    // From elsewhere first, so that the last move is a move.
    const wxPoint before = at + wxPoint(1, 1);
    pointer.MouseMove(window.ClientToScreen(before));
    runEventsUntil([&seenAt, before] { return seenAt == before; });
    pointer.MouseMove(window.ClientToScreen(at));
    runEventsUntil([&seenAt, at] { return seenAt == at; });
    window.Unbind(wxEVT_MOTION, seen);
}

void cellTip(int row, int column, const Log& log)
{
    CZibMdiChild* child = CMainFrame::Get()->ActiveZibChild();
    const std::string cell = std::to_string(row) + "," + std::to_string(column);
    wxWindow* window = nullptr;
    wxRect rect;
    if (auto* grid = firstBelow<wxGrid>(child)) {
        grid->MakeCellVisible(row, column);
        window = grid->GetGridWindow();
        rect = grid->CellToRect(row, column);
        rect.SetPosition(grid->CalcScrolledPosition(rect.GetPosition()));
    } else if (auto* list = firstBelow<wxListCtrl>(child)) {
        list->EnsureVisible(row);
        window = ListRowsWindow(*list);
        list->GetSubItemRect(row, column, rect);
        // A column out of the window is scrolled in.
        if (rect.x < 0 || rect.GetRight() >= window->GetClientSize().x) {
            int unitX = 0, unitY = 0, startX = 0, startY = 0;
            list->GetScrollPixelsPerUnit(&unitX, &unitY);
            list->GetViewStart(&startX, &startY);
            if (unitX > 0) list->Scroll(startX + rect.x / unitX, -1);
            list->GetSubItemRect(row, column, rect);
        }
        // The list's rectangles are in its own coordinates; the rows window sits below the header.
        if (window != list) rect.Offset(-window->GetPosition());
    } else {
        return log("cell-tip " + cell + ": no list");
    }
    window->Update();
    pointTo(*window, rect.GetPosition() + wxPoint(rect.width / 2, rect.height / 2));
    log("cell-tip " + cell + ": " + wxToUtf8(window->GetToolTipText()));
}

// The first line of the active child's n-th text control that holds `part`.
void textFind(const std::string& part, int n, const Log& log)
{
    auto* text = nthBelow<wxTextCtrl>(CMainFrame::Get()->ActiveZibChild(), n);
    if (!text) return log("text-find: no text");
    for (int line = 0; line < text->GetNumberOfLines(); ++line) {
        const std::string shown = wxToUtf8(text->GetLineText(line));
        if (shown.find(part) != std::string::npos) return log("text-find: " + shown);
    }
    log("text-find: none");
}

bool sameImage(const wxBitmap& a, const wxBitmap& b)
{
    if (!a.IsOk() || !b.IsOk() || a.GetSize() != b.GetSize()) return false;
    const wxImage x = a.ConvertToImage(), y = b.ConvertToImage();
    return std::equal(x.GetData(), x.GetData() + x.GetWidth() * x.GetHeight() * 3, y.GetData());
}

std::string sourceName(std::optional<ToolIconSource> source)
{
    if (!source) return "none";
    switch (*source) {
    case ToolIconSource::Theme: return "theme";
    case ToolIconSource::Own: return "own";
    default: return "letters";
    }
}

void logToolbars(const Log& log)
{
    CMainFrame* frame = CMainFrame::Get();
    for (int i = 0; i < kMainBarCount; ++i) {
        CMainToolBar* bar = frame->Toolbar(MainBar(i));
        if (!bar) continue;
        const std::string name(MainBarTitle(MainBar(i)));
        for (const ToolButtonDef& b : bar->Buttons()) {
            const wxAuiToolBarItem* tool = b.id && !b.fieldWidth ? bar->FindTool(cmd::ToWxId(b.id)) : nullptr;
            if (!tool) continue;
            const wxBitmapBundle& bundle = tool->GetBitmapBundle();
            const wxBitmap bitmap = bundle.IsOk() ? bundle.GetBitmap(bundle.GetDefaultSize()) : wxBitmap();
            const wxBitmap letters = LetterTile(b.glyph, bitmap.IsOk() ? bitmap.GetHeight() : 16);
            log("tool " + name + " " + std::to_string(b.id) + " " + sourceName(bar->IconSource(b.id)) + " " +
                std::to_string(bitmap.GetWidth()) + "x" + std::to_string(bitmap.GetHeight()) +
                " letters-look=" + std::to_string(sameImage(bitmap, letters)) +
                " shown=" + std::to_string(frame->IsBarShown(MainBar(i))) +
                " enabled=" + std::to_string(bar->GetToolEnabled(tool->GetId())) + " tip=" + wxToUtf8(tool->GetShortHelp()));
        }
    }
}

void rebuildToolbars(int size, const Log& log)
{
    SetToolbarIconSize(size);
    CMainFrame* frame = CMainFrame::Get();
    for (int i = 0; i < kMainBarCount; ++i) {
        CMainToolBar* bar = frame->Toolbar(MainBar(i));
        if (!bar || bar->Buttons().empty()) continue;
        bar->SetButtons(bar->Buttons(), wxGetApp().Language());
        if (wxAuiManager* manager = wxAuiManager::GetManager(bar)) manager->GetPane(bar).BestSize(bar->GetBestSize());
    }
    if (wxAuiManager* manager = wxAuiManager::GetManager(frame)) manager->Update();
    wxTheApp->ProcessIdle();
    log("toolbar-icon-size " + std::to_string(ToolbarIconSize()));
}

} // namespace

bool RunViewProbe(const std::vector<std::string>& words, const Log& log)
{
    auto arg = [&words](size_t i) { return i < words.size() ? std::atoi(words[i].c_str()) : 0; };
    if (words.empty() || !CMainFrame::Get()) return false;
    const std::string& verb = words[0];
    if (verb == "log-columns")
        logColumns(arg(1), log);
    else if (verb == "cell-tip")
        cellTip(arg(1), arg(2), log);
    else if (verb == "log-toolbars")
        logToolbars(log);
    else if (verb == "toolbar-icon-size")
        rebuildToolbars(arg(1), log);
    else if (verb == "text-find" && words.size() > 1)
        textFind(words[1], arg(2), log);
    else
        return false;
    return true;
}

} // namespace zib
