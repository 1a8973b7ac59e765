#include "docs/program/CZibPcgDoc.h"

#include "app/CMainFrame.h"
#include "app/CZibApp.h"
#include "app/CZibFileDialog.h"
#include "app/ZibMessageBox.h"
#include "app/core/CommandIds.h"
#include "app/dialogs/CFileDialogs.h"
#include "docs/program/core/PcgLayout.h"
#include "docs/program/core/PcgMenus.h"
#include "docs/program/CZibPcgView.h"
#include "platform/Cp1252.h"
#include "platform/FileIo.h"
#include "platform/WxText.h"

#include <filesystem>
#include <wx/filename.h>

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CZibPcgDoc, wxDocument);

namespace {

constexpr int kPcgFileKind = 3; // LastOpenedFileType of program files

std::string folderOf(const std::string& path)
{
    return std::filesystem::path(path).parent_path().string();
}

// The file dialogs' filters and extensions of the shown list's items.
struct ItemFileKind {
    const char* filter;
    const char* extension;
};
ItemFileKind itemFileKind(const PcgDocModel& model)
{
    return model.ShowsPrograms() ? ItemFileKind{"WqProgram Files (*.WPF)|*.WPF", ".WPF"}
                                 : ItemFileKind{"WqDrumKit Files (*.WDK)|*.WDK", ".WDK"};
}

std::string withExtension(std::string path, const char* extension)
{
    if (std::filesystem::path(path).extension().empty()) path += extension;
    return path;
}

} // namespace

CZibPcgDoc::CZibPcgDoc() : model_(&CZibPcgDoc::ShowNotice)
{
    const auto on = [this](int id, void (CZibPcgDoc::*handler)(wxCommandEvent&)) {
        Bind(wxEVT_MENU, handler, this, cmd::ToWxId(id));
    };
    on(pcgcmd::DeleteItems, &CZibPcgDoc::OnEditDelete);
    on(pcgcmd::EmptyItem, &CZibPcgDoc::OnEditEmpty);
    on(pcgcmd::ExtractItem, &CZibPcgDoc::OnEditExtract);
    on(pcgcmd::ExtractAllItems, &CZibPcgDoc::OnEditExtractAll);
    on(pcgcmd::ImportItems, &CZibPcgDoc::OnEditImport);
    on(pcgcmd::SelectAll, &CZibPcgDoc::OnEditSelectAll);
    on(cmd::FileSave, &CZibPcgDoc::OnFileSave);
    on(cmd::FileSaveAs, &CZibPcgDoc::OnFileSaveAs);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { GetDocumentManager()->CloseDocument(this); },
         cmd::ToWxId(cmd::FileClose));
    for (int id : {pcgcmd::DeleteItems, pcgcmd::EmptyItem, pcgcmd::ExtractItem, pcgcmd::ExtractAllItems,
                   pcgcmd::SelectAll})
        Bind(wxEVT_UPDATE_UI, &CZibPcgDoc::OnUpdateNeedsItems, this, cmd::ToWxId(id));
    for (int id : {pcgcmd::ImportItems, cmd::FileSave, cmd::FileSaveAs, cmd::FileClose})
        Bind(wxEVT_UPDATE_UI, &CZibPcgDoc::OnUpdateAlways, this, cmd::ToWxId(id));
}

CZibPcgView* CZibPcgDoc::View() const
{
    return dynamic_cast<CZibPcgView*>(GetFirstView());
}

void CZibPcgDoc::ShowNotice(const StyNotice& notice)
{
    long style = wxOK;
    if (notice.icon == StyNoticeIcon::Stop) style |= wxICON_ERROR;
    if (notice.icon == StyNoticeIcon::Exclamation) style |= wxICON_EXCLAMATION;
    const wxString caption = notice.caption.empty() ? wxString(CZibApp::kAppName) : wxFromUtf8(notice.caption);
    ZibTextBox(wxFromUtf8(notice.Localized(wxGetApp().Language())), caption, style, CMainFrame::Get());
}

void CZibPcgDoc::SyncModified()
{
    if (model_.modified) {
        Modify(true);
        model_.modified = false;
    }
}

void CZibPcgDoc::CloseAfterFatalError()
{
    if (CZibPcgView* view = View()) view->ClearList();
    wxDocManager* manager = GetDocumentManager();
    wxTheApp->CallAfter([manager, doc = this] {
        // The document may be gone already when its window was closed meanwhile.
        const auto docs = manager->GetDocumentsVector();
        if (std::find(docs.begin(), docs.end(), doc) != docs.end()) manager->CloseDocument(doc, true);
    });
}

// Opening, saving, closing

bool CZibPcgDoc::OnNewDocument()
{
    if (!wxDocument::OnNewDocument()) return false;
    model_.OnNewDocument(wxGetApp().m_NewDocSubType);
    UpdateAllViews();
    return true;
}

bool CZibPcgDoc::OnOpenDocument(const wxString& file)
{
    const std::string path = wxToUtf8(file);
    std::vector<uint8_t> bytes;
    const FileIoError error = readWholeFile(path, bytes);
    if (error != FileIoError::None) {
        ZibMessageBox(error == FileIoError::TooLarge ? 14 : 11, wxString(CZibApp::kAppName), wxOK | wxICON_ERROR,
                      CMainFrame::Get());
        return false;
    }
    if (!model_.OpenImage(path, std::move(bytes))) {
        if (CZibPcgView* view = View()) view->ClearList();
        return false;
    }
    SetFilename(file, true);
    Modify(false);
    m_savedYet = true;
    model_.folder = folderOf(path);
    wxSetWorkingDirectory(wxFromUtf8(model_.folder));
    ZibSettings& settings = wxGetApp().Settings();
    settings.LastOpenedFileType = kPcgFileKind;
    settings.WriteSetting("LastOpenedFileType");
    wxGetApp().SetLastOpenedDirectory(model_.folder);
    UpdateAllViews();
    return true;
}

bool CZibPcgDoc::SaveTo(const std::string& file)
{
    const auto image = model_.BuildFileImage();
    if (!image) return false;
    if (writeFileAtomically(file, *image) != FileIoError::None) {
        ShowNotice(StyNotice::Text("Cannot write file %s", {file}, "OnSaveDocument", StyNoticeIcon::Stop));
        return false;
    }
    return true;
}

bool CZibPcgDoc::OnSaveDocument(const wxString& file)
{
    if (!SaveTo(wxToUtf8(file))) return false;
    SetFilename(file, true);
    Modify(false);
    m_savedYet = true;
    model_.path = wxToUtf8(file);
    model_.folder = folderOf(model_.path);
    return true;
}

bool CZibPcgDoc::OnSaveModified()
{
    if (!IsModified()) return true;
    const wxString question = wxString::Format(UiTextWx("Save changes to %s"), GetUserReadableName());
    switch (ZibTextBox(question, wxString(CZibApp::kAppName), wxYES_NO | wxCANCEL | wxICON_EXCLAMATION,
                       CMainFrame::Get())) {
    case wxID_YES:
        return Save();
    case wxID_NO:
        Modify(false);
        return true;
    default:
        return false;
    }
}

bool CZibPcgDoc::DeleteContents()
{
    model_.DeleteContents();
    return wxDocument::DeleteContents();
}

void CZibPcgDoc::OnFileSave(wxCommandEvent& event)
{
    if (!m_savedYet || GetFilename().empty()) {
        OnFileSaveAs(event);
        return;
    }
    OnSaveDocument(GetFilename());
}

void CZibPcgDoc::OnFileSaveAs(wxCommandEvent&)
{
    const bool prg = pcg::IsFamilyB(model_.model);
    const wxString filter = UiTextWx(prg ? "Program Files (*.prg)|*.prg" : "Program Files (*.pcg)|*.pcg");
    CZibFileDialog dlg(CMainFrame::Get(), UiTextWx("Save As"), wxFromUtf8(DefaultFolder()),
                       wxFileName(GetFilename()).GetFullName(), filter, wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dlg.ShowModal() != wxID_OK) return;
    const std::string path = withExtension(wxToUtf8(dlg.GetPath()), prg ? ".PRG" : ".PCG");
    if (OnSaveDocument(wxFromUtf8(path))) GetDocumentManager()->AddFileToHistory(wxFromUtf8(path));
}

std::string CZibPcgDoc::DefaultFolder() const
{
    return model_.folder.empty() ? wxGetApp().Settings().LastOpenedDirectory : model_.folder;
}

// Item commands

void CZibPcgDoc::OnUpdateNeedsItems(wxUpdateUIEvent& event)
{
    // The program count decides, also while the drum kits are shown.
    event.Enable(model_.ProgramCount() > 0);
}

void CZibPcgDoc::OnUpdateAlways(wxUpdateUIEvent& event)
{
    event.Enable(true);
}

void CZibPcgDoc::OnEditDelete(wxCommandEvent&)
{
    CZibPcgView* view = View();
    if (!view) return;
    if (!model_.DeleteItems(view->SelectedRows(), view->FocusedRow())) {
        ZibMessageBox(21, "OnEditDelete", wxOK | wxICON_EXCLAMATION, CMainFrame::Get());
        CloseAfterFatalError();
        return;
    }
    view->Fill();
    SyncModified();
}

void CZibPcgDoc::OnEditEmpty(wxCommandEvent&)
{
    CZibPcgView* view = View();
    if (!view) return;
    if (!model_.EmptyItems(view->SelectedRows(), view->FocusedRow())) {
        ZibMessageBox(22, "OnEditEmpty", wxOK | wxICON_EXCLAMATION, CMainFrame::Get());
        CloseAfterFatalError();
        return;
    }
    view->RefreshRows();
    SyncModified();
}

void CZibPcgDoc::OnEditExtract(wxCommandEvent&)
{
    CZibPcgView* view = View();
    if (!view || model_.ShownItems().empty()) return;
    const int row = view->FocusedRow();
    if (row < 0) {
        ZibMessageBox(23, "OnEditExtract", wxOK | wxICON_EXCLAMATION, CMainFrame::Get());
        return;
    }
    const ItemFileKind kind = itemFileKind(model_);
    CZibFileDialog dlg(CMainFrame::Get(), UiTextWx("Extract Item"), wxFromUtf8(DefaultFolder()),
                       wxFromCp1252(model_.ExtractFileName(row)), UiTextWx(kind.filter),
                       wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dlg.ShowModal() != wxID_OK) return;
    model_.ExtractItem(row, withExtension(wxToUtf8(dlg.GetPath()), kind.extension));
}

void CZibPcgDoc::OnEditExtractAll(wxCommandEvent&)
{
    CFolderDialog dlg(DefaultFolder(), std::string(), CMainFrame::Get());
    dlg.SetTitle(UiTextWx("Select Destination Folder"));
    if (dlg.ShowModal() != wxID_OK) return;
    const std::filesystem::path folder = dlg.Folder();
    bool yesToAll = false;
    for (const auto& [index, name] : model_.ExtractAllNames()) {
        const std::filesystem::path file = folder / cp1252ToUtf8(name);
        if (!yesToAll && std::filesystem::exists(file)) {
            CConfirmOverwriteDlg ask(CMainFrame::Get(), wxFromUtf8(file.string()));
            const ConfirmOverwriteResult answer = CConfirmOverwriteDlg::ResultOf(ask.ShowModal());
            if (answer == ConfirmOverwriteResult::Cancel) return;
            if (answer == ConfirmOverwriteResult::No) continue;
            yesToAll = answer == ConfirmOverwriteResult::YesToAll;
        }
        if (!model_.ExtractItem(index, file)) return;
    }
}

void CZibPcgDoc::OnEditImport(wxCommandEvent&)
{
    CZibPcgView* view = View();
    if (!model_.CanImport()) return;
    const bool programs = model_.ShowsPrograms();
    CZibFileDialog dlg(CMainFrame::Get(), UiTextWx(programs ? "Import Programs" : "Import DrumKit"),
                       wxFromUtf8(DefaultFolder()), wxString(), UiTextWx(itemFileKind(model_).filter),
                       wxFD_OPEN | wxFD_MULTIPLE | wxFD_FILE_MUST_EXIST);
    if (dlg.ShowModal() != wxID_OK) return;
    wxArrayString chosen;
    dlg.GetPaths(chosen);
    std::vector<std::string> files;
    for (const wxString& f : chosen)
        files.push_back(wxToUtf8(f));
    bool close = false;
    const bool ok = model_.ImportItems(files, &close);
    if (view) view->Fill();
    SyncModified();
    if (close) {
        CloseAfterFatalError();
        return;
    }
    if (ok && view) view->ShowRow(int(model_.ShownItems().size()) - 1);
}

void CZibPcgDoc::OnEditSelectAll(wxCommandEvent&)
{
    if (CZibPcgView* view = View()) view->SelectAll();
}

} // namespace zib
