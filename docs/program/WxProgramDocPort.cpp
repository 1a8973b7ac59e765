#include "docs/program/WxProgramDocPort.h"

#include "ui/ShellServices.h"
#include "ui/core/ZibSettings.h"
#include "ui/CZibFileDialog.h"
#include "ui/ZibMessageBox.h"
#include "ui/dialogs/CFileDialogs.h"
#include "docs/program/CProgramListCtrl.h"
#include "docs/style/StyleGuiSupport.h"
#include "platform/WxText.h"
#include "platform/ZibClipboardFormat.h"

#include <filesystem>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/utils.h>

namespace zib {

namespace {

wxString captionOf(const DocMessage& m)
{
    return m.caption.empty() ? wxString(ShellServices::kAppName) : wxFromUtf8(m.caption);
}

} // namespace

WxProgramDocPort::WxProgramDocPort(CProgramListCtrl* list, std::function<void()> refill)
    : list_(list), refill_(std::move(refill))
{
}

wxWindow* WxProgramDocPort::Parent() const
{
    return ShellFrame();
}

void WxProgramDocPort::Message(const DocMessage& m)
{
    ShowStyNotice(m, Parent());
}

DocAnswer WxProgramDocPort::AskYesNoCancel(const DocMessage& q)
{
    switch (ZibTextBox(wxFromUtf8(q.Localized(Shell().Language())), captionOf(q),
                       wxYES_NO | wxCANCEL | wxICON_EXCLAMATION, Parent())) {
    case wxID_YES: return DocAnswer::Yes;
    case wxID_NO: return DocAnswer::No;
    default: return DocAnswer::Cancel;
    }
}

DocAnswer WxProgramDocPort::OverwriteAnswer(const std::string& fileName)
{
    CConfirmOverwriteDlg ask(Parent(), wxFromUtf8(fileName));
    switch (CConfirmOverwriteDlg::ResultOf(ask.ShowModal())) {
    case ConfirmOverwriteResult::Yes: return DocAnswer::Yes;
    case ConfirmOverwriteResult::YesToAll: return DocAnswer::YesToAll;
    case ConfirmOverwriteResult::No: return DocAnswer::No;
    default: return DocAnswer::Cancel;
    }
}

std::vector<std::string> WxProgramDocPort::OpenPaths(const FileChoice& choice)
{
    CZibFileDialog dlg(Parent(), UiTextWx(choice.title), wxFromUtf8(choice.folder), wxString(),
                       StyFileFilter(choice.filter), wxFD_OPEN | wxFD_MULTIPLE | wxFD_FILE_MUST_EXIST);
    if (dlg.ShowModal() != wxID_OK) return {};
    wxArrayString paths;
    dlg.GetPaths(paths);
    std::vector<std::string> out;
    for (const wxString& p : paths)
        out.push_back(wxToUtf8(p));
    return out;
}

std::optional<std::string> WxProgramDocPort::SavePath(const FileChoice& choice)
{
    CZibFileDialog dlg(Parent(), UiTextWx(choice.title), wxFromUtf8(choice.folder), wxFromUtf8(choice.fileName),
                       StyFileFilter(choice.filter), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dlg.ShowModal() != wxID_OK) return std::nullopt;
    std::string path = wxToUtf8(dlg.GetPath());
    if (!choice.defaultExt.empty() && std::filesystem::path(path).extension().empty())
        path += "." + choice.defaultExt;
    return path;
}

std::optional<std::string> WxProgramDocPort::ChooseFolder(const std::string& title, const std::string& start)
{
    CFolderDialog dlg(start, std::string(), Parent());
    dlg.SetTitle(UiTextWx(title));
    if (dlg.ShowModal() != wxID_OK) return std::nullopt;
    return dlg.Folder();
}

ClipboardRead WxProgramDocPort::ReadClipboard()
{
    if (!wxTheClipboard->Open()) return {ClipboardRead::State::CannotAttach, {}};
    if (!ZibClipboardFormatRegistered() || !wxTheClipboard->IsSupported(ZibClipboardFormat())) {
        wxTheClipboard->Close();
        return {ClipboardRead::State::NoFormat, {}};
    }
    wxCustomDataObject data(ZibClipboardFormat());
    const bool got = wxTheClipboard->GetData(data);
    wxTheClipboard->Close();
    if (!got) return {ClipboardRead::State::NoData, {}};
    const auto* bytes = static_cast<const uint8_t*>(data.GetData());
    return {ClipboardRead::State::Ok, std::vector<uint8_t>(bytes, bytes + data.GetSize())};
}

bool WxProgramDocPort::WriteClipboard(const std::vector<uint8_t>& block)
{
    return PutClipboardBlock(block);
}

bool WxProgramDocPort::ClipboardHasBlock() const
{
    return zib::ClipboardHasBlock();
}

std::vector<int> WxProgramDocPort::SelectedRows() const
{
    return list_ ? list_->SelectedRows() : std::vector<int>();
}

int WxProgramDocPort::FocusedRow() const
{
    return list_ ? list_->FocusedRow() : -1;
}

void WxProgramDocPort::SetSelection(const std::vector<int>& rows, int focused)
{
    if (!list_) return;
    if (rows_) list_->SetRowCount(rows_());
    list_->SetSelection(rows, focused);
}

void WxProgramDocPort::RowsInserted(int, int)
{
    if (list_ && rows_) list_->SetRowCount(rows_());
}

void WxProgramDocPort::RowsDeleted(int, int)
{
    if (list_ && rows_) list_->SetRowCount(rows_());
}

void WxProgramDocPort::Refill()
{
    if (refill_) refill_();
}

void WxProgramDocPort::Redraw(int first, int last)
{
    if (list_ && first >= 0 && last >= first && last < list_->GetItemCount()) list_->RefreshItems(first, last);
}

void WxProgramDocPort::RedrawAll()
{
    if (!list_) return;
    if (rows_) list_->SetRowCount(rows_());
    list_->Refresh();
}

void WxProgramDocPort::ScrollTo(int row)
{
    if (!list_) return;
    if (rows_) list_->SetRowCount(rows_());
    if (row >= 0 && row < list_->GetItemCount()) list_->EnsureVisible(row);
}

void WxProgramDocPort::BeginWait()
{
    wxBeginBusyCursor();
}

void WxProgramDocPort::EndWait()
{
    wxEndBusyCursor();
}

void WxProgramDocPort::SetLastOpened(int fileKind, const std::string& folder)
{
    ZibSettings& settings = Shell().Settings();
    settings.LastOpenedFileType = fileKind;
    settings.WriteSetting("LastOpenedFileType");
    Shell().SetLastOpenedDirectory(folder);
}

} // namespace zib
