#include "ui/dialogs/CFileDialogs.h"

#include "ui/ShellServices.h"
#include "ui/ZibMessageBox.h"
#include "platform/WxText.h"

#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/dirctrl.h>
#include <wx/panel.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace zib {

namespace {

constexpr int kFolderBox = 106;
constexpr int kOpenButton = 107;
constexpr int kFormatCombo = 1026;
constexpr int kFormatLabel = 1047;
constexpr int kYesToAll = 1085;

} // namespace

CFolderDialog::CFolderDialog(const std::string& initialFolder, const std::string& extraFilter,
                             wxWindow* parent)
    : CZibDialog(parent, "Select Folder", wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      model_(initialFolder, ShellLanguage())
{
    wxString filter = T("Show Folders Only") + "|.";
    filter += extraFilter.empty() ? "|" + T("All Files (*.*)") + "|*.*" : "|" + wxFromUtf8(extraFilter);
    browser_ = new wxGenericDirCtrl(this, wxID_ANY, wxFromUtf8(model_.folder()), wxDefaultPosition,
                                    wxSize(420, 300), wxDIRCTRL_SHOW_FILTERS, filter);
    box_ = new wxTextCtrl(this, kFolderBox, wxFromUtf8(model_.folder()), wxDefaultPosition, wxDefaultSize,
                          wxTE_PROCESS_ENTER | wxBORDER_SUNKEN);

    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(this, 1090, T("Folder:")), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    row->Add(box_, 1);
    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(browser_, 1, wxEXPAND | wxBOTTOM, 8);
    content->Add(row, 0, wxEXPAND | wxBOTTOM, 10);
    content->Add(ButtonRow({{kOpenButton, "Open"}, {wxID_CANCEL, "Cancel"}}), 0, wxEXPAND);
    Finish(content);
    box_->SetFocus();
    box_->SetInsertionPointEnd();

    Bind(wxEVT_BUTTON, &CFolderDialog::OnOpen, this, kOpenButton);
    box_->Bind(wxEVT_TEXT_ENTER, &CFolderDialog::OnEnter, this);
    box_->Bind(wxEVT_TEXT, &CFolderDialog::OnText, this);
    box_->Bind(wxEVT_KEY_DOWN, &CFolderDialog::OnKeyDown, this);
    browser_->Bind(wxEVT_DIRCTRL_SELECTIONCHANGED, &CFolderDialog::OnBrowse, this);
}

void CFolderDialog::ShowFolder(const std::string& folder)
{
    box_->ChangeValue(wxFromUtf8(folder));
    box_->SetInsertionPointEnd();
}

void CFolderDialog::Follow(const std::string& folder)
{
    // Moves the browser without touching the text the user is typing.
    following_ = true;
    std::string path =
        folder.size() > 1 && folder.back() == '/' ? folder.substr(0, folder.size() - 1) : folder;
    browser_->SetPath(wxFromUtf8(path));
    model_.FolderChanged(folder);
    following_ = false;
}

bool CFolderDialog::Handle(FolderDialogModel::Outcome outcome)
{
    using Kind = FolderDialogModel::Outcome::Kind;
    for (;;) {
        switch (outcome.kind) {
        case Kind::EndOk:
            return true;
        case Kind::Navigated:
            Follow(model_.folder());
            ShowFolder(model_.folder());
            return false;
        case Kind::Message:
            ZibTextBox(wxFromUtf8(outcome.text), GetTitle(), wxOK | wxICON_WARNING, this);
            box_->SetFocus();
            return false;
        case Kind::AskCreate: {
            int answer = ZibTextBox(wxFromUtf8(outcome.text), GetTitle(), wxYES_NO | wxICON_QUESTION, this);
            outcome = model_.CreateAnswer(answer == wxID_YES);
            continue;
        }
        case Kind::Stay:
            box_->SetFocus();
            return false;
        }
    }
}

void CFolderDialog::OnOpen(wxCommandEvent&)
{
    if (Handle(model_.Open(wxToUtf8(box_->GetValue())))) EndModal(wxID_OK);
}

void CFolderDialog::OnEnter(wxCommandEvent&)
{
    Handle(model_.Enter(wxToUtf8(box_->GetValue())));
}

void CFolderDialog::OnKeyDown(wxKeyEvent& event)
{
    lastKey_ = event.GetKeyCode();
    event.Skip();
}

void CFolderDialog::OnText(wxCommandEvent&)
{
    const std::string text = wxToUtf8(box_->GetValue());
    const bool deleting = lastKey_ == WXK_BACK || lastKey_ == WXK_DELETE;
    const bool backspace = lastKey_ == WXK_BACK;
    lastKey_ = 0;
    if (auto folder = model_.FolderToFollow(text)) {
        Follow(*folder);
        return;
    }
    if (deleting && !backspace) return;
    const bool caretAtEnd = box_->GetInsertionPoint() == box_->GetLastPosition();
    if (auto c = model_.Complete(text, caretAtEnd, backspace)) {
        box_->ChangeValue(wxFromUtf8(c->text));
        // Positions count characters; the typed part may hold multi-byte characters.
        long from = long(wxFromUtf8(c->text.substr(0, c->selectFrom)).length());
        box_->SetSelection(from, box_->GetLastPosition());
    }
}

void CFolderDialog::OnBrowse(wxTreeEvent& event)
{
    event.Skip();
    if (following_ || !browser_) return;
    std::string path = wxToUtf8(browser_->GetPath());
    if (path.empty() || !wxDirExists(browser_->GetPath())) return;
    model_.FolderChanged(path);
    ShowFolder(model_.folder());
    box_->SetFocus();
}

namespace {

CFileDlgMidiToSty* gRunningMidiToSty = nullptr;

} // namespace

CFileDlgMidiToSty::CFileDlgMidiToSty(wxWindow* parent, const wxString& message, const wxString& defaultDir,
                                     const wxString& defaultFile, const wxString& wildcard, long style)
    : CZibFileDialog(parent, message, defaultDir, defaultFile, wildcard, style)
{
    SetExtraControlCreator(&CFileDlgMidiToSty::CreateFormatControl);
}

wxWindow* CFileDlgMidiToSty::CreateFormatControl(wxWindow* parent)
{
    auto* panel = new wxPanel(parent);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(panel, kFormatLabel, UiTextWx(MidiToStyFormatModel::kLabel)), 0,
             wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
    wxArrayString formats;
    for (auto f : MidiToStyFormatModel::kFormats)
        formats.push_back(UiTextWx(f));
    auto* combo = new wxComboBox(panel, kFormatCombo, wxString(), wxDefaultPosition, wxSize(260, -1), formats,
                                 wxCB_DROPDOWN);
    if (gRunningMidiToSty) {
        int entry = gRunningMidiToSty->model_.PreselectedEntry();
        if (entry >= 0) combo->SetSelection(entry);
    }
    row->Add(combo, 1);
    panel->SetSizerAndFit(row);
    return panel;
}

int CFileDlgMidiToSty::ShowModal()
{
    gRunningMidiToSty = this;
    int result = CZibFileDialog::ShowModal();
    gRunningMidiToSty = nullptr;
    if (wxWindow* extra = GetExtraControl())
        if (auto* combo = dynamic_cast<wxComboBox*>(extra->FindWindow(kFormatCombo)))
            model_.Finish(wxToCp1252(combo->GetValue()));
    return result;
}

CConfirmOverwriteDlg::CConfirmOverwriteDlg(wxWindow* parent, const wxString& message)
    : CZibDialog(parent, "Confirm File Overwrite")
{
    auto* content = new wxBoxSizer(wxVERTICAL);
    message_ = new wxStaticText(this, 1084, message);
    content->Add(message_, 0, wxBOTTOM, 6);
    content->Add(
        new wxStaticText(this, wxID_ANY, T("File with the same name already exist! Overwrite anyway?")), 0,
        wxBOTTOM, 10);
    content->Add(
        ButtonRow(
            {{wxID_YES, "&Yes"}, {kYesToAll, "Yes To &All"}, {wxID_NO, "&No"}, {wxID_CANCEL, "Cancel"}}),
        0, wxEXPAND);
    Finish(content);
    for (int id : {int(wxID_YES), kYesToAll, int(wxID_NO), int(wxID_CANCEL)})
        Bind(
            wxEVT_BUTTON, [this, id](wxCommandEvent&) { EndModal(id); }, id);
}

void CConfirmOverwriteDlg::SetMessage(const wxString& message)
{
    message_->SetLabel(message);
    Fit();
}

ConfirmOverwriteResult CConfirmOverwriteDlg::ResultOf(int modalResult)
{
    switch (modalResult) {
    case wxID_YES:
        return ConfirmOverwriteResult::Yes;
    case kYesToAll:
        return ConfirmOverwriteResult::YesToAll;
    case wxID_NO:
        return ConfirmOverwriteResult::No;
    default:
        return ConfirmOverwriteResult::Cancel;
    }
}

} // namespace zib
