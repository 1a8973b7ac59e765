#include "ui/dialogs/CZibDialog.h"

#include "ui/ZibMessageBox.h"
#include "ui/dialogs/TitleWidth.h"

#include <wx/button.h>
#include <wx/statbox.h>
#include <wx/utils.h>

namespace zib {

CZibDialog::CZibDialog(wxWindow* parent, std::string_view englishTitle, long style)
    : wxDialog(parent, wxID_ANY, T(englishTitle), wxDefaultPosition, wxDefaultSize, style)
{
}

wxString CZibDialog::T(std::string_view english)
{
    return UiTextWx(english);
}

wxSizer* CZibDialog::ButtonRow(std::initializer_list<std::pair<int, std::string_view>> buttons)
{
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->AddStretchSpacer();
    bool first = true;
    for (const auto& [id, label] : buttons) {
        auto* b = new wxButton(this, id, T(label));
        if (first) b->SetDefault();
        first = false;
        row->Add(b, 0, wxLEFT, 6);
    }
    return row;
}

namespace {

// The toolkit sizes a box by its content and may cut its label: every box
// of the sizer tree is made at least as wide as its label and a margin.
void WidenBoxesToTheirLabels(wxSizer* sizer)
{
    if (auto* group = dynamic_cast<wxStaticBoxSizer*>(sizer)) {
        wxStaticBox* box = group->GetStaticBox();
        const int label = box->GetTextExtent(wxStripMenuCodes(box->GetLabel())).x;
        if (label > 0) group->SetMinSize(wxSize(label + 4 * box->GetCharWidth(), -1));
    }
    for (wxSizerItem* item : sizer->GetChildren())
        if (item->IsSizer()) WidenBoxesToTheirLabels(item->GetSizer());
}

} // namespace

void CZibDialog::Finish(wxSizer* content)
{
    WidenBoxesToTheirLabels(content);
    auto* outer = new wxBoxSizer(wxVERTICAL);
    outer->Add(content, 1, wxEXPAND | wxALL, 10);
    SetSizerAndFit(outer);
    WidenToTitle(*this);
    CentreOnParent();
}

void CZibDialog::FinishOkCancel(wxSizer* content, std::function<void()> onOk)
{
    content->Add(OkCancelRow(), 0, wxEXPAND);
    Finish(content);
    Bind(
        wxEVT_BUTTON,
        [this, onOk = std::move(onOk)](wxCommandEvent&) {
            onOk();
            EndModal(wxID_OK);
        },
        wxID_OK);
}

void CZibDialog::FinishWithOk(wxSizer* body, std::function<void()> ok)
{
    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(body, 0, wxEXPAND | wxBOTTOM, 10);
    content->Add(OkCancelHelpRow(), 0, wxEXPAND);
    Finish(content);
    Bind(
        wxEVT_BUTTON,
        [this, ok = std::move(ok)](wxCommandEvent&) {
            ok();
            EndModal(wxID_OK);
        },
        wxID_OK);
}

} // namespace zib
