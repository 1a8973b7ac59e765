#include "docs/style/dialogs/CSoundComboCtrl.h"

#include "docs/style/core/QeSoundList.h"
#include "docs/style/dialogs/CSoundListBox.h"
#include "platform/WxText.h"

#include <algorithm>

namespace zib {

namespace {

// The drop-down: made when it is first shown.
class SoundPopup : public CSoundListBox, public wxComboPopup {
public:
    explicit SoundPopup(CSoundComboCtrl& combo, const QeSoundList& sounds) : combo_(combo), sounds_(sounds) {}

    bool Create(wxWindow* parent) override
    {
        if (!CSoundListBox::Create(parent, wxID_ANY, sounds_, wxBORDER_SIMPLE)) return false;
        Bind(wxEVT_LEFT_UP, [this](wxMouseEvent& e) {
            const int row = VirtualHitTest(e.GetPosition().y);
            if (row != wxNOT_FOUND) {
                Dismiss();
                combo_.Choose(row);
            }
        });
        return true;
    }
    wxWindow* GetControl() override { return this; }
    void SetStringValue(const wxString&) override {}
    wxString GetStringValue() const override { return combo_.GetValue(); }
    void OnPopup() override
    {
        SetSelection(combo_.GetSelection());
        if (combo_.GetSelection() >= 0) ScrollToRow(size_t(combo_.GetSelection()));
    }
    wxSize GetAdjustedSize(int minWidth, int, int maxHeight) override
    {
        return wxSize(std::max(minWidth, 240), std::min(maxHeight, 320));
    }

private:
    CSoundComboCtrl& combo_;
    const QeSoundList& sounds_;
};

} // namespace

CSoundComboCtrl::CSoundComboCtrl(wxWindow* parent, wxWindowID id, const QeSoundList& sounds)
    : wxComboCtrl(parent, id, wxString(), wxDefaultPosition, wxSize(180, -1), wxCB_READONLY), sounds_(sounds)
{
    SetPopupControl(new SoundPopup(*this, sounds));
}

void CSoundComboCtrl::SetSelection(int index)
{
    selection_ = index >= 0 && size_t(index) < sounds_.Size() ? index : -1;
    SetText(selection_ >= 0 ? wxFromCp1252(sounds_.At(size_t(selection_)).name) : wxString());
}

void CSoundComboCtrl::Choose(int index)
{
    SetSelection(index);
    wxCommandEvent event(wxEVT_COMBOBOX, GetId());
    event.SetInt(selection_);
    event.SetEventObject(this);
    ProcessWindowEvent(event);
}

} // namespace zib
