#include "tests/app/gui/driver/LayoutFaults.h"

#include "platform/WxText.h"

#include <utility>
#include <wx/bookctrl.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/scrolwin.h>
#include <wx/spinctrl.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/toplevel.h>

namespace zib {

namespace {

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

std::string sizeText(wxSize s)
{
    return std::to_string(s.x) + "x" + std::to_string(s.y);
}

std::string nameOf(wxWindow* w)
{
    return std::to_string(w->GetId()) + " " + wxToUtf8(w->GetClassInfo()->GetClassName());
}

// Windows laid out by the program's sizers, whose children are looked at
// too; other controls (grids, lists, spin controls) own their parts.
bool holdsControls(wxWindow* w)
{
    return dynamic_cast<wxPanel*>(w) || dynamic_cast<wxStaticBox*>(w) || dynamic_cast<wxBookCtrlBase*>(w) ||
           dynamic_cast<wxTopLevelWindow*>(w);
}

// What a spin control adds around its text (frame, padding, arrows),
// measured on a long text so that no minimum width counts.
int framing(wxSpinCtrl* spin)
{
    return spin->GetSizeFromTextSize(1000).x - 1000;
}

// The text a control shows of its own and the size that shows it whole;
// no text for other controls.
std::pair<wxString, wxSize> shownText(wxWindow* w)
{
    if (auto* button = dynamic_cast<wxButton*>(w)) {
        // A button's best size has the toolkit's minimum width, which narrow
        // buttons leave out on purpose: a button fitted to the label says
        // what the label needs.
        auto* fitted = new wxButton(w->GetParent(), wxID_ANY, button->GetLabel(), wxPoint(-1000, -1000),
                                    wxDefaultSize, wxBU_EXACTFIT);
        fitted->Hide();
        const wxSize size = fitted->GetBestSize();
        fitted->Destroy();
        return {button->GetLabel(), size};
    }
    // A box's best size is its content's: its label, drawn in its top edge,
    // needs a character of margin at either end as well.
    if (auto* box = dynamic_cast<wxStaticBox*>(w))
        return {box->GetLabel(), wxSize(box->GetTextExtent(box->GetLabel()).x + 2 * box->GetCharWidth(), 0)};
    if (dynamic_cast<wxStaticText*>(w) || dynamic_cast<wxCheckBox*>(w) || dynamic_cast<wxRadioButton*>(w))
        return {w->GetLabel(), w->GetBestSize()};
    // A spin control shows its value and both its arrows.
    if (auto* spin = dynamic_cast<wxSpinCtrl*>(w)) {
        const wxString value = wxString::Format("%d", spin->GetValue());
        return {value, wxSize(spin->GetTextExtent(value).x + framing(spin), 0)};
    }
    return {};
}

void check(wxWindow* parent, std::vector<std::string>& faults)
{
    const bool book = dynamic_cast<wxBookCtrlBase*>(parent) != nullptr;
    // The children of a scrolled window may lie past its visible part.
    const bool scrolled = dynamic_cast<wxScrollHelperBase*>(parent) != nullptr;
    const wxSize room = parent->GetClientSize();
    const std::vector<wxWindow*> children(parent->GetChildren().begin(), parent->GetChildren().end());
    std::vector<wxWindow*> shown;
    for (wxWindow* w : children) {
        if (w->IsTopLevel() || (!book && !w->IsShown())) continue;
        shown.push_back(w);
        const wxRect r = w->GetRect();
        if (const auto [text, need] = shownText(w); !text.empty() && (r.width < need.x || r.height < need.y))
            faults.push_back("clipped: " + nameOf(w) + " " + wxToUtf8(text) +
                             " size=" + sizeText(r.GetSize()) + " needs=" + sizeText(need));
        if (!book && !scrolled && (r.x < 0 || r.y < 0 || r.GetRight() >= room.x || r.GetBottom() >= room.y))
            faults.push_back("outside: " + nameOf(w) + " at=" + std::to_string(r.x) + "," +
                             std::to_string(r.y) + " size=" + sizeText(r.GetSize()) +
                             " room=" + sizeText(room));
        if (holdsControls(w)) check(w, faults);
    }
    // A static box frames its siblings; pages of a book share their place.
    if (book) return;
    for (size_t i = 0; i < shown.size(); ++i)
        for (size_t j = i + 1; j < shown.size(); ++j) {
            if (dynamic_cast<wxStaticBox*>(shown[i]) || dynamic_cast<wxStaticBox*>(shown[j])) continue;
            if (shown[i]->GetRect().Intersects(shown[j]->GetRect()))
                faults.push_back("overlap: " + nameOf(shown[i]) + " " + nameOf(shown[j]));
        }
}

} // namespace

std::vector<std::string> LayoutFaults(wxTopLevelWindow* window)
{
    std::vector<std::string> faults;
    for (const wxSize s : {window->GetSize(), window->GetBestSize()})
        if (s.x > kScreenWidth || s.y > kScreenHeight) {
            faults.push_back("too-large: " + sizeText(s));
            break;
        }
    check(window, faults);
    return faults;
}

} // namespace zib
