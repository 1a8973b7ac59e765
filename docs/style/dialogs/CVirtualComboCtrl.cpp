#include "docs/style/dialogs/CVirtualComboCtrl.h"

#include <algorithm>
#include <wx/dc.h>
#include <wx/vlbox.h>

namespace zib {

namespace {

// The drop-down: a virtual list of the combo's entries.
class VirtualPopup : public wxVListBox, public wxComboPopup {
public:
    explicit VirtualPopup(CVirtualComboCtrl& combo) : combo_(combo) {}

    bool Create(wxWindow* parent) override
    {
        if (!wxVListBox::Create(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_SIMPLE)) return false;
        SetItemCount(combo_.Count());
        Bind(wxEVT_LEFT_UP, [this](wxMouseEvent& e) {
            const int row = VirtualHitTest(e.GetPosition().y);
            if (row == wxNOT_FOUND) return;
            Dismiss();
            combo_.Choose(row);
        });
        return true;
    }
    bool LazyCreate() override { return true; }
    wxWindow* GetControl() override { return this; }
    void SetStringValue(const wxString&) override {}
    wxString GetStringValue() const override { return combo_.GetValue(); }
    void OnPopup() override
    {
        SetSelection(combo_.Entry());
        if (combo_.Entry() >= 0) ScrollToRow(size_t(combo_.Entry()));
    }
    wxSize GetAdjustedSize(int minWidth, int, int maxHeight) override
    {
        return wxSize(std::max(minWidth, 160), std::min(maxHeight, 320));
    }

protected:
    void OnDrawItem(wxDC& dc, const wxRect& rect, size_t n) const override
    {
        const wxString text = combo_.Text(n);
        dc.DrawText(text, rect.x + 2, rect.y + (rect.height - dc.GetTextExtent(text).y) / 2);
    }
    wxCoord OnMeasureItem(size_t) const override { return GetCharHeight() + 4; }

private:
    CVirtualComboCtrl& combo_;
};

} // namespace

CVirtualComboCtrl::CVirtualComboCtrl(wxWindow* parent, wxWindowID id, size_t count, EntryText text, int width)
    : wxComboCtrl(parent, id, wxString(), wxDefaultPosition, wxSize(width, -1), wxCB_READONLY), count_(count),
      text_(std::move(text))
{
    SetPopupControl(new VirtualPopup(*this));
    // A choice announced from outside the drop-down shows as well.
    Bind(wxEVT_COMBOBOX, [this](wxCommandEvent& e) {
        if (e.GetInt() != selection_) SelectEntry(e.GetInt());
        e.Skip();
    });
}

void CVirtualComboCtrl::SelectEntry(int index)
{
    selection_ = index >= 0 && size_t(index) < count_ ? index : -1;
    SetText(selection_ >= 0 ? text_(size_t(selection_)) : wxString());
}

void CVirtualComboCtrl::Choose(int index)
{
    SelectEntry(index);
    wxCommandEvent event(wxEVT_COMBOBOX, GetId());
    event.SetInt(selection_);
    event.SetEventObject(this);
    ProcessWindowEvent(event);
}

} // namespace zib
