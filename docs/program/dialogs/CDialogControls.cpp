#include "docs/program/dialogs/CDialogControls.h"

#include "ui/ZibMessageBox.h"
#include "platform/WxText.h"

#include <algorithm>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/listbox.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace zib {

CDialogControls::CDialogControls(wxWindow* parent, std::vector<DialogControl>& controls)
    : parent_(parent), controls_(controls)
{
}

DialogControl* CDialogControls::Find(int id)
{
    for (DialogControl& c : controls_)
        if (c.id == id) return &c;
    return nullptr;
}

wxWindow* CDialogControls::Window(int id)
{
    if (auto it = windows_.find(id); it != windows_.end()) return it->second;
    DialogControl* c = Find(id);
    return c ? Make(*c) : nullptr;
}

wxWindow* CDialogControls::Make(DialogControl& c)
{
    wxWindow* window = nullptr;
    switch (c.kind) {
    case DialogControl::Kind::List: {
        wxArrayString items;
        for (const auto& o : c.options)
            items.Add(wxFromCp1252(o));
        window = new wxChoice(parent_, c.id, wxDefaultPosition, wxDefaultSize, items);
        break;
    }
    case DialogControl::Kind::Check:
        window = new wxCheckBox(parent_, c.id, UiTextWx(c.label));
        break;
    case DialogControl::Kind::Radio: {
        auto* panel = new wxPanel(parent_);
        // Two buttons stand in one row; three or four go in rows of two, more
        // in rows of three, so that pages with many groups fit the screen.
        const size_t n = c.options.size();
        const int columns = n <= 2 ? int(std::max<size_t>(n, 1)) : n <= 4 ? 2 : 3;
        auto* row = new wxFlexGridSizer(columns, wxSize(8, 4));
        std::vector<wxWindow*> buttons;
        // GTK always checks one button of a group: a hidden one stands for "none".
        auto* none = new wxRadioButton(panel, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
        none->Hide();
        buttons.push_back(none);
        for (size_t i = 0; i < c.options.size(); ++i) {
            auto* b = new wxRadioButton(panel, c.id + int(i), UiTextWx(c.options[i]));
            if (i < c.optionEnabled.size() && !c.optionEnabled[i]) b->Disable();
            row->Add(b, 0, wxALIGN_CENTER_VERTICAL);
            buttons.push_back(b);
        }
        panel->SetSizer(row);
        buttons_[c.id] = buttons;
        window = panel;
        break;
    }
    case DialogControl::Kind::ListBox: {
        wxArrayString lines;
        for (const auto& o : c.options)
            lines.Add(wxFromCp1252(o));
        auto* list = new wxListBox(parent_, c.id, wxDefaultPosition, wxSize(260, 160), lines);
        list->SetFont(wxFont(wxFontInfo().Family(wxFONTFAMILY_TELETYPE)));
        window = list;
        break;
    }
    }
    window->Enable(c.enabled);
    windows_[c.id] = window;
    return window;
}

wxSizer* CDialogControls::Rows(const std::vector<int>& ids)
{
    // Check boxes alone stand in one column: a grid would keep an empty label
    // column whose gap it leaves out of its width and takes from the boxes.
    const bool checksOnly = std::all_of(ids.begin(), ids.end(), [this](int id) {
        const DialogControl* c = Find(id);
        return !c || c->kind == DialogControl::Kind::Check;
    });
    if (checksOnly) {
        auto* column = new wxBoxSizer(wxVERTICAL);
        for (int id : ids)
            if (wxWindow* w = Find(id) ? Window(id) : nullptr) column->Add(w, 0, wxEXPAND | wxBOTTOM, 4);
        return column;
    }
    auto* grid = new wxFlexGridSizer(2, wxSize(8, 4));
    grid->AddGrowableCol(1);
    for (int id : ids) {
        DialogControl* c = Find(id);
        if (!c) continue;
        wxWindow* w = Window(id);
        if (c->kind == DialogControl::Kind::Check)
            grid->AddSpacer(0);
        else
            grid->Add(new wxStaticText(parent_, wxID_ANY, UiTextWx(c->label)), 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(w, 1, wxEXPAND);
    }
    return grid;
}

wxSizer* CDialogControls::Table(const std::vector<std::string>& rowNames, const std::vector<std::string>& columnNames,
                                const std::function<int(int, int)>& idAt)
{
    auto* grid = new wxFlexGridSizer(int(columnNames.size()) + 1, wxSize(6, 3));
    grid->AddSpacer(0);
    for (const auto& name : columnNames)
        grid->Add(new wxStaticText(parent_, wxID_ANY, UiTextWx(name)));
    for (size_t r = 0; r < rowNames.size(); ++r) {
        grid->Add(new wxStaticText(parent_, wxID_ANY, wxFromUtf8(rowNames[r])), 0, wxALIGN_CENTER_VERTICAL);
        for (size_t col = 0; col < columnNames.size(); ++col) {
            const int id = idAt(int(r), int(col));
            wxWindow* w = id ? Window(id) : nullptr;
            if (w)
                grid->Add(w, 0, wxEXPAND);
            else
                grid->AddSpacer(0);
        }
    }
    return grid;
}

void CDialogControls::Load()
{
    for (DialogControl& c : controls_) {
        wxWindow* w = Window(c.id);
        if (auto* choice = dynamic_cast<wxChoice*>(w))
            choice->SetSelection(c.value >= 0 && c.value < int(c.options.size()) ? c.value : wxNOT_FOUND);
        else if (auto* box = dynamic_cast<wxCheckBox*>(w))
            box->SetValue(c.value == 1);
        else if (auto* list = dynamic_cast<wxListBox*>(w))
            list->SetSelection(c.value >= 0 && c.value < int(c.options.size()) ? c.value : wxNOT_FOUND);
        else if (auto it = buttons_.find(c.id); it != buttons_.end()) {
            const size_t checked = c.value >= 0 && size_t(c.value) + 1 < it->second.size() ? size_t(c.value) + 1 : 0;
            static_cast<wxRadioButton*>(it->second[checked])->SetValue(true);
        }
    }
}

void CDialogControls::Store()
{
    for (DialogControl& c : controls_) {
        wxWindow* w = Window(c.id);
        if (auto* choice = dynamic_cast<wxChoice*>(w))
            c.value = choice->GetSelection();
        else if (auto* box = dynamic_cast<wxCheckBox*>(w))
            c.value = box->GetValue() ? 1 : 0;
        else if (auto* list = dynamic_cast<wxListBox*>(w))
            c.value = list->GetSelection();
        else if (auto it = buttons_.find(c.id); it != buttons_.end()) {
            c.value = -1;
            for (size_t i = 1; i < it->second.size(); ++i)
                if (static_cast<wxRadioButton*>(it->second[i])->GetValue()) c.value = int(i) - 1;
        }
    }
}

void CDialogControls::RefreshLines(int id)
{
    DialogControl* c = Find(id);
    auto* list = dynamic_cast<wxListBox*>(Window(id));
    if (!c || !list) return;
    for (size_t i = 0; i < c->options.size() && i < list->GetCount(); ++i)
        list->SetString(unsigned(i), wxFromCp1252(c->options[i]));
    if (c->value >= 0 && c->value < int(list->GetCount())) list->SetSelection(c->value);
}

void CDialogControls::OnActivate(int id, std::function<void(int)> handler)
{
    if (auto* list = dynamic_cast<wxListBox*>(Window(id)))
        list->Bind(wxEVT_LISTBOX_DCLICK, [handler, list](wxCommandEvent&) {
            const int line = list->GetSelection();
            if (line != wxNOT_FOUND) handler(line);
        });
}

} // namespace zib
