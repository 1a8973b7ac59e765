#include "docs/style/CStyWxUiPort.h"

#include "docs/style/dialogs/CCleanStyleEventsDlg.h"

#include "docs/style/CItemListView.h"
#include "docs/style/CItemWxDoc.h"
#include "docs/style/StyleGuiSupport.h"
#include "platform/WxText.h"
#include "platform/ZibClipboardFormat.h"
#include "ui/CTextViewer.h"
#include "ui/CZibDocument.h"
#include "ui/CZibFileDialog.h"
#include "ui/ShellServices.h"
#include "ui/ZibMessageBox.h"
#include "ui/dialogs/CFileDialogs.h"

#include <wx/clipbrd.h>
#include <wx/docview.h>
#include <wx/utils.h>

namespace zib {

namespace {

std::filesystem::path pathOf(const wxString& text)
{
    return std::filesystem::u8path(wxToUtf8(text));
}

wxString wxPath(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return wxFromUtf8(std::string(text.begin(), text.end()));
}

} // namespace

CItemListView* CStyWxUiPort::View() const
{
    return dynamic_cast<CItemListView*>(document_.GetFirstView());
}

wxWindow* CStyWxUiPort::Parent() const
{
    CItemListView* view = View();
    return view ? view->GetFrame() : nullptr;
}

void CStyWxUiPort::Message(const StyNotice& notice)
{
    ShowStyNotice(notice, Parent());
}

StyAnswer CStyWxUiPort::Ask(StyQuestion question, const StyNotice& notice)
{
    const wxString caption = notice.caption.empty() ? wxString(ShellServices::kAppName) : wxFromUtf8(notice.caption);
    const long buttons = question == StyQuestion::YesNo ? wxYES_NO : wxYES_NO | wxCANCEL;
    switch (ZibTextBox(wxFromUtf8(notice.Localized(ShellLanguage())), caption, buttons | wxICON_WARNING,
                       Parent())) {
    case wxID_YES:
        return StyAnswer::Yes;
    case wxID_NO:
        return StyAnswer::No;
    default:
        return StyAnswer::Cancel;
    }
}

StyAnswer CStyWxUiPort::ConfirmOverwrite(const std::filesystem::path& file)
{
    // A file an open document holds is left alone, as No would.
    if (!CZibDocument::MayWriteFile(file, ShellServices::kAppName)) return StyAnswer::No;
    CConfirmOverwriteDlg confirm(Parent(), wxPath(file));
    switch (CConfirmOverwriteDlg::ResultOf(confirm.ShowModal())) {
    case ConfirmOverwriteResult::Yes:
        return StyAnswer::Yes;
    case ConfirmOverwriteResult::YesToAll:
        return StyAnswer::YesToAll;
    case ConfirmOverwriteResult::No:
        return StyAnswer::No;
    default:
        return StyAnswer::Cancel;
    }
}

std::optional<std::filesystem::path> CStyWxUiPort::ChooseSaveFile(const StyFileChoice& choice)
{
    CZibFileDialog dlg(Parent(), UiTextWx(choice.title), wxPath(choice.folder), wxFromUtf8(choice.fileName),
                       StyFileFilter(choice.filter), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dlg.ShowModal() != wxID_OK) return std::nullopt;
    std::filesystem::path path = pathOf(dlg.GetPath());
    if (!path.has_extension() && !choice.defaultExtension.empty()) path += "." + choice.defaultExtension;
    if (!CZibDocument::MayWriteFile(path, UiTextWx(choice.title))) return std::nullopt;
    return path;
}

std::vector<std::filesystem::path> CStyWxUiPort::ChooseOpenFiles(const StyFileChoice& choice)
{
    CZibFileDialog dlg(Parent(), UiTextWx(choice.title), wxPath(choice.folder), wxString(),
                       StyFileFilter(choice.filter), wxFD_OPEN | wxFD_MULTIPLE | wxFD_FILE_MUST_EXIST);
    if (dlg.ShowModal() != wxID_OK) return {};
    wxArrayString paths;
    dlg.GetPaths(paths);
    std::vector<std::filesystem::path> out;
    for (const wxString& p : paths)
        out.push_back(pathOf(p));
    return out;
}

std::optional<std::filesystem::path> CStyWxUiPort::ChooseFolder(const std::string& title,
                                                                const std::filesystem::path& start)
{
    const std::u8string folder = start.u8string();
    CFolderDialog dlg(std::string(folder.begin(), folder.end()), std::string(), Parent());
    dlg.SetTitle(UiTextWx(title));
    if (dlg.ShowModal() != wxID_OK) return std::nullopt;
    return std::filesystem::u8path(dlg.Folder());
}

std::optional<CleanEventsChoice> CStyWxUiPort::ChooseCleanEvents()
{
    CCleanStyleEventsDlg dlg(Parent());
    if (dlg.ShowModal() != wxID_OK) return std::nullopt;
    return dlg.Choice();
}

std::vector<int> CStyWxUiPort::SelectedRows() const
{
    CItemListView* view = View();
    return view && view->List() ? view->List()->SelectedRows() : std::vector<int>();
}

int CStyWxUiPort::FocusedRow() const
{
    CItemListView* view = View();
    return view && view->List() ? int(view->List()->FocusedRow()) : -1;
}

void CStyWxUiPort::SetSelection(std::span<const int> rows, int focused)
{
    CItemListView* view = View();
    if (!view || !view->List()) return;
    view->RefreshRows();
    view->List()->SelectOnly(std::vector<int>(rows.begin(), rows.end()), focused);
    if (focused >= 0) view->List()->EnsureVisible(focused);
}

StyClipboardContent CStyWxUiPort::ReadClipboard()
{
    StyClipboardContent content;
    bool attached = true;
    content.present = ClipboardHasBlock();
    if (!content.present) return content;
    content.bytes = ReadClipboardBlock(&attached);
    content.attached = attached;
    return content;
}

bool CStyWxUiPort::WriteClipboard(const std::vector<uint8_t>& block)
{
    return ZibClipboardFormatRegistered() && PutClipboardBlock(block);
}

bool CStyWxUiPort::ShowTextViewer(const std::filesystem::path& file)
{
    ShellServices* frame = ShellFrame() ? ShellServices::Get() : nullptr;
    auto* doc = dynamic_cast<CItemWxDoc*>(&document_);
    if (!frame || !doc) return false;
    // The viewer this document opened last goes first.
    if (doc->m_TextDumpOpen && doc->m_TextDumpWindow) doc->m_TextDumpWindow->Close(true);
    doc->m_TextDumpWindow = nullptr;
    CTextViewer* viewer = frame->OpenTextViewer(wxString(), &doc->m_TextDumpOpen, &document_, 1);
    if (!viewer) return false;
    if (!viewer->LoadFile(std::string(wxToUtf8(wxPath(file))))) {
        viewer->Close(true);
        return false;
    }
    doc->m_TextDumpWindow = viewer;
    doc->m_TextDumpOpen = 1;
    viewer->Bind(wxEVT_CLOSE_WINDOW, [doc, viewer](wxCloseEvent& event) {
        if (doc->m_TextDumpWindow == viewer) {
            doc->m_TextDumpWindow = nullptr;
            doc->m_TextDumpOpen = 0;
        }
        event.Skip();
    });
    return true;
}

void CStyWxUiPort::BeginWait()
{
    wxBeginBusyCursor();
}

void CStyWxUiPort::EndWait()
{
    wxEndBusyCursor();
}

void CStyWxUiPort::ViewNotice(StyViewNotice notice, int)
{
    CItemListView* view = View();
    switch (notice) {
    case StyViewNotice::ColumnsRebuilt:
        if (view) view->Refill();
        break;
    case StyViewNotice::RowsChanged:
    case StyViewNotice::RowAdded:
        if (view) view->RefreshRows();
        break;
    case StyViewNotice::CloseToolWindows:
        if (auto* doc = dynamic_cast<CItemWxDoc*>(&document_)) doc->CloseToolWindows();
        break;
    case StyViewNotice::DocumentAborted:
        break;
    }
}

} // namespace zib
