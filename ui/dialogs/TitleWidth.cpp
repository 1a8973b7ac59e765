#include "ui/dialogs/TitleWidth.h"

#include <algorithm>
#include <wx/sizer.h>
#include <wx/toplevel.h>

namespace zib {

namespace {

constexpr int kWidestWindow = 1024;
// The title bar's buttons and margins, in heights of the title's text.
constexpr int kTitleBarButtons = 6;

} // namespace

void WidenToTitle(wxTopLevelWindow& window)
{
    const wxString title = window.GetTitle();
    if (title.empty()) return;
    wxFont font = window.GetFont();
    font.MakeBold();
    int width = 0, height = 0;
    window.GetTextExtent(title, &width, &height, nullptr, nullptr, &font);
    const int needed = std::min(width + kTitleBarButtons * height, kWidestWindow);
    const wxSize size = window.GetSize();
    if (size.x >= needed) return;
    // A window laid out by a sizer is widened through it: a minimum size set
    // on the window itself before it is first shown leaves it, under a window
    // manager that has not told its frame yet, shown a few pixels high in a
    // corner before it takes its size (the toolkit warns of its buttons).
    if (wxSizer* sizer = window.GetSizer()) {
        sizer->SetMinSize(wxSize(needed - (size.x - window.GetClientSize().x), -1));
        sizer->SetSizeHints(&window);
        return;
    }
    window.SetMinSize(wxSize(needed, window.GetMinSize().y));
    window.SetSize(wxSize(needed, size.y));
}

} // namespace zib
