#include "docs/program/dialogs/CPrgPropPage.h"

#include "ui/ZibMessageBox.h"
#include "platform/WxText.h"

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/dcclient.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/spinbutt.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace zib {

namespace {

// The blank button under the fields on which a page draws its graph; a click
// draws it again.
class PrgGraphPanel : public wxPanel {
public:
    PrgGraphPanel(wxWindow* parent, const PrgPageModel& model)
        : wxPanel(parent, kPrgGraphButtonId, wxDefaultPosition, wxSize(260, 120), wxBORDER_RAISED), model_(model)
    {
        Bind(wxEVT_PAINT, &PrgGraphPanel::OnPaint, this);
        Bind(wxEVT_LEFT_UP, [this](wxMouseEvent&) { Refresh(); });
        Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Refresh(); });
    }

private:
    void OnPaint(wxPaintEvent&)
    {
        wxPaintDC dc(this);
        // One drawing at a time for all the graphs.
        static bool drawing = false;
        if (drawing) return;
        drawing = true;
        dc.SetBackground(wxBrush(GetBackgroundColour()));
        dc.Clear();
        const wxSize size = GetClientSize();
        for (const PrgGraphLine& line : model_.Graph(size.x, size.y)) {
            switch (line.pen) {
            case PrgGraphPen::Axis:
                dc.SetPen(wxPen(*wxRED, 1, wxPENSTYLE_DOT));
                break;
            case PrgGraphPen::Curve:
                dc.SetPen(wxPen(*wxBLUE, 1));
                break;
            case PrgGraphPen::ReleaseTail:
                dc.SetPen(wxPen(*wxGREEN, 1));
                break;
            case PrgGraphPen::FadeIn:
                dc.SetPen(wxPen(*wxCYAN, 1));
                break;
            }
            dc.DrawLine(line.x1, line.y1, line.x2, line.y2);
        }
        drawing = false;
    }

    const PrgPageModel& model_;
};

constexpr const char* kTimes[4] = {"Attack Time", "Decay Time", "Slope Time", "Release Time"};
constexpr const char* kSigns[3] = {"MINUS", "Zero", "PLUS"};
constexpr PrgTimeSign kSignValues[3] = {PrgTimeSign::Minus, PrgTimeSign::Zero, PrgTimeSign::Plus};

wxArrayString wxTexts(const std::vector<std::string>& texts)
{
    wxArrayString out;
    for (const auto& t : texts)
        out.Add(wxFromCp1252(t));
    return out;
}

} // namespace

CPrgPropPage::CPrgPropPage(wxWindow* parent, int page, const PcgDocModel& doc, int row)
    : wxPanel(parent, wxID_ANY), model_(page), doc_(doc), row_(row)
{
    // The sheet builds every page at once; each reads the record when first shown.
    Build();
}

void CPrgPropPage::OnShown()
{
    if (!model_.IsRead()) {
        if (model_.Read(doc_, row_)) {
            // The name field was made before the record was read.
            const int base = PrgPageBaseId(model_.Def().page);
            if (auto* name = dynamic_cast<wxTextCtrl*>(FindWindow(base + kPrgNameFieldOffset)))
                name->ChangeValue(wxFromCp1252(model_.ItemName()));
        }
        Enable(model_.IsRead()); // without an item the page stays empty
    }
    ShowValues();
    if (graph_) graph_->Refresh();
}

wxString CPrgPropPage::Title() const
{
    return UiTextWx(model_.Def().title);
}

void CPrgPropPage::Build()
{
    const PrgPageDef& def = model_.Def();
    const int base = PrgPageBaseId(def.page);
    auto* top = new wxBoxSizer(wxVERTICAL);

    auto* nameRow = new wxBoxSizer(wxHORIZONTAL);
    nameRow->Add(new wxStaticText(this, wxID_ANY, UiTextWx("Program Name:")), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    nameRow->Add(new wxTextCtrl(this, base + kPrgNameFieldOffset, wxFromCp1252(model_.ItemName()), wxDefaultPosition,
                                wxSize(160, -1), wxTE_READONLY));
    top->Add(nameRow, 0, wxALL, 6);

    if (def.HasOscillators()) {
        auto* oscRow = new wxBoxSizer(wxHORIZONTAL);
        osc1_ = new wxRadioButton(this, base + kPrgOsc1Offset, "OSC1", wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
        osc2_ = new wxRadioButton(this, base + kPrgOsc2Offset, "OSC2");
        osc1_->SetValue(true);
        for (wxRadioButton* r : {osc1_, osc2_}) {
            oscRow->Add(r, 0, wxRIGHT, 12);
            r->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) {
                model_.ShowOsc(osc2_->GetValue() ? 1 : 0);
                ShowValues();
            });
        }
        top->Add(oscRow, 0, wxLEFT | wxRIGHT | wxBOTTOM, 6);
    }

    auto* grid = new wxFlexGridSizer(2, 4, 8);
    controls_.resize(def.fields.size());
    for (size_t i = 0; i < def.fields.size(); ++i) {
        FieldControls& c = controls_[i];
        c.field = &def.fields[i];
        const bool labelled = c.field->kind != PrgFieldKind::Check;
        grid->Add(new wxStaticText(this, wxID_ANY, labelled ? UiTextWx(c.field->label) : wxString()), 0,
                  wxALIGN_CENTER_VERTICAL);
        grid->Add(BuildField(c), 0, wxALIGN_CENTER_VERTICAL);
    }
    top->Add(grid, 0, wxALL, 6);

    if (def.hasGraph) {
        graph_ = new PrgGraphPanel(this, model_);
        top->Add(graph_, 0, wxALL, 6);
    }
    SetSizerAndFit(top);
}

wxSizer* CPrgPropPage::BuildField(FieldControls& c)
{
    const PrgField& f = *c.field;
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    const auto radios = [&](const std::vector<std::string_view>& labels) {
        for (size_t j = 0; j < labels.size(); ++j) {
            auto* r = new wxRadioButton(this, f.id + int(j), UiTextWx(labels[j]), wxDefaultPosition, wxDefaultSize,
                                        j == 0 ? wxRB_GROUP : 0);
            r->Bind(wxEVT_RADIOBUTTON, [this, &c, j](wxCommandEvent&) {
                if (showing_) return;
                if (c.field->kind == PrgFieldKind::OscMode) {
                    model_.ChooseOscMode(int(j));
                    ShowValues();
                } else {
                    model_.SetValue(*c.field, int(j));
                }
                Changed();
            });
            c.radios.push_back(r);
            row->Add(r, 0, wxRIGHT, 8);
        }
    };
    const auto choice = [&](const std::vector<std::string>& texts) {
        c.choice = new wxChoice(this, f.id, wxDefaultPosition, wxDefaultSize, wxTexts(texts));
        c.choice->Bind(wxEVT_CHOICE, [this, &c](wxCommandEvent&) { OnChoice(c); });
        row->Add(c.choice);
    };
    switch (f.kind) {
    case PrgFieldKind::Number:
    case PrgFieldKind::Fixed: {
        const bool fixed = f.kind == PrgFieldKind::Fixed;
        c.edit = new wxTextCtrl(this, f.id, wxString(), wxDefaultPosition, wxSize(60, -1), fixed ? wxTE_READONLY : 0);
        row->Add(c.edit);
        if (!fixed) {
            c.spin = new wxSpinButton(this, f.id + 1, wxDefaultPosition, wxDefaultSize, wxSP_VERTICAL);
            c.spin->SetRange(f.min, f.max);
            row->Add(c.spin);
            c.edit->Bind(wxEVT_TEXT, [this, &c](wxCommandEvent&) { OnNumberText(c); });
            c.spin->Bind(wxEVT_SPIN, [this, &c](wxSpinEvent&) { OnSpin(c); });
        }
        break;
    }
    case PrgFieldKind::Note:
        choice(PrgPageModel::PivotKeyTexts());
        break;
    case PrgFieldKind::Sample:
        choice(model_.SampleNames());
        break;
    case PrgFieldKind::Octave:
        choice(PrgPageModel::OctaveTexts());
        break;
    case PrgFieldKind::Panpot:
        choice(PrgPageModel::PanpotTexts());
        break;
    case PrgFieldKind::Choice:
    case PrgFieldKind::OscMode:
        radios(f.options);
        break;
    case PrgFieldKind::Check:
        c.check = new wxCheckBox(this, f.id, UiTextWx(f.label));
        c.check->Bind(wxEVT_CHECKBOX, [this, &c](wxCommandEvent&) {
            if (showing_) return;
            model_.SetValue(*c.field, c.check->GetValue() ? 1 : 0);
            Changed();
        });
        row->Add(c.check);
        break;
    case PrgFieldKind::TimeSigns: {
        auto* signs = new wxFlexGridSizer(4, 2, 6);
        for (int t = 0; t < 4; ++t) {
            signs->Add(new wxStaticText(this, wxID_ANY, UiTextWx(kTimes[t])), 0, wxALIGN_CENTER_VERTICAL);
            for (int j = 0; j < 3; ++j) {
                auto* r = new wxRadioButton(this, f.id + 3 * t + j, UiTextWx(kSigns[j]), wxDefaultPosition,
                                            wxDefaultSize, j == 0 ? wxRB_GROUP : 0);
                r->Bind(wxEVT_RADIOBUTTON, [this, &c, t, j](wxCommandEvent&) {
                    if (showing_) return;
                    model_.SetTimeSign(*c.field, model_.ShownOsc(), t, kSignValues[j]);
                    Changed();
                });
                c.radios.push_back(r);
                signs->Add(r);
            }
        }
        row->Add(signs);
        break;
    }
    }
    return row;
}

void CPrgPropPage::ShowField(const FieldControls& c)
{
    const PrgField& f = *c.field;
    const int osc = model_.ShownOsc();
    const int value = model_.Value(f);
    switch (f.kind) {
    case PrgFieldKind::Number:
    case PrgFieldKind::Fixed:
        c.edit->ChangeValue(wxString::Format("%d", value));
        if (c.spin) c.spin->SetValue(value);
        break;
    case PrgFieldKind::Note:
        c.choice->SetSelection(value >= 24 && value <= 120 ? value - 24 : wxNOT_FOUND);
        break;
    case PrgFieldKind::Sample:
        c.choice->SetSelection(model_.SampleListIndex(osc));
        break;
    case PrgFieldKind::Octave:
        c.choice->SetSelection(model_.OctaveListIndex(osc));
        break;
    case PrgFieldKind::Panpot:
        c.choice->SetSelection(model_.PanpotListIndex(osc));
        c.choice->Enable(model_.Controls().panpot);
        break;
    case PrgFieldKind::Choice:
    case PrgFieldKind::OscMode:
        if (value >= 0 && value < int(c.radios.size())) c.radios[size_t(value)]->SetValue(true);
        break;
    case PrgFieldKind::Check:
        c.check->SetValue(value != 0);
        break;
    case PrgFieldKind::TimeSigns:
        for (int t = 0; t < 4; ++t) {
            const PrgTimeSign sign = model_.TimeSign(f, osc, t);
            for (int j = 0; j < 3; ++j)
                if (kSignValues[j] == sign) c.radios[size_t(3 * t + j)]->SetValue(true);
        }
        break;
    }
    if (f.kind == PrgFieldKind::OscMode) {
        const auto& on = model_.Controls();
        c.radios[0]->Enable(on.single);
        c.radios[1]->Enable(on.dbl);
        c.radios[2]->Enable(on.drum);
    }
}

void CPrgPropPage::ShowValues()
{
    showing_ = true;
    for (const FieldControls& c : controls_)
        ShowField(c);
    if (osc1_) {
        const auto& on = model_.Controls();
        osc1_->Enable(on.osc1);
        osc2_->Enable(on.osc2);
        (model_.ShownOsc() == 1 ? osc2_ : osc1_)->SetValue(true);
    }
    showing_ = false;
    Changed();
}

void CPrgPropPage::Changed()
{
    if (graph_) graph_->Refresh();
}

void CPrgPropPage::OnNumberText(FieldControls& c)
{
    if (showing_) return;
    long value = 0;
    if (!c.edit->GetValue().ToLong(&value)) return;
    model_.SetValue(*c.field, int(value));
    showing_ = true;
    c.spin->SetValue(model_.Value(*c.field));
    showing_ = false;
    Changed();
}

void CPrgPropPage::OnSpin(FieldControls& c)
{
    if (showing_) return;
    model_.SetValue(*c.field, c.spin->GetValue());
    showing_ = true;
    c.edit->ChangeValue(wxString::Format("%d", model_.Value(*c.field)));
    showing_ = false;
    Changed();
}

void CPrgPropPage::OnChoice(FieldControls& c)
{
    if (showing_) return;
    const int sel = c.choice->GetSelection();
    if (sel == wxNOT_FOUND) return;
    const int osc = model_.ShownOsc();
    const std::string text = wxToCp1252(c.choice->GetString(unsigned(sel)));
    switch (c.field->kind) {
    case PrgFieldKind::Note:
        model_.SetValue(*c.field, PrgPageModel::PivotKeyOfText(text));
        break;
    case PrgFieldKind::Sample:
        model_.ChooseSample(osc, sel);
        break;
    case PrgFieldKind::Octave:
        model_.ChooseOctave(osc, text);
        break;
    case PrgFieldKind::Panpot:
        model_.ChoosePanpot(osc, sel);
        break;
    default:
        break;
    }
    Changed();
}

} // namespace zib
