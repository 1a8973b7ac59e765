#include "ui/CZibDocument.h"

#include "platform/FileIo.h"
#include "platform/WxText.h"
#include "ui/CZibMdiChild.h"
#include "ui/ZibMessageBox.h"

namespace zib {

namespace {

// The documents answered No in the round of AskToSaveAll that runs, if any
std::vector<CZibDocument*>* g_answeredNo = nullptr;

} // namespace

void CZibDocument::OnChangeFilename(bool notifyViews)
{
    // Without a title of its own the document's name is its file's name.
    SetTitle(wxString());
    wxDocument::OnChangeFilename(notifyViews);
    CZibMdiChild::RetitleWindowsOf(*this);
}

bool CZibDocument::AskToSaveAll(const wxDocVector& documents)
{
    if (g_answeredNo) return false; // a round already asks (a question cannot start another)
    std::vector<CZibDocument*> answeredNo;
    g_answeredNo = &answeredNo;
    bool all = true;
    for (wxDocument* doc : documents)
        if (!doc->OnSaveModified()) {
            all = false;
            break;
        }
    g_answeredNo = nullptr;
    if (!all) return false;
    for (CZibDocument* doc : answeredNo)
        doc->Modify(false);
    return true;
}

bool CZibDocument::MaySaveAs(const wxString& path) const
{
    return MayWriteFile(std::filesystem::path(wxToUtf8(path)), UiTextWx("Save As"), this);
}

bool CZibDocument::MayWriteFile(const std::filesystem::path& path, const wxString& caption,
                                const wxDocument* writer)
{
    wxDocManager* manager = wxDocManager::GetDocumentManager();
    if (!manager) return true;
    for (wxDocument* doc : manager->GetDocumentsVector()) {
        if (doc == writer || doc->GetFilename().empty() ||
            !sameFile(std::filesystem::path(wxToUtf8(doc->GetFilename())), path))
            continue;
        ZibTextBox(
            wxString::Format(UiTextWx("%s is open in another window. Save under another name, or close that "
                                      "window first."),
                             wxFromUtf8(path.string())),
            caption, wxOK | wxICON_EXCLAMATION);
        return false;
    }
    return true;
}

void CZibDocument::DropChanges()
{
    if (g_answeredNo)
        g_answeredNo->push_back(this);
    else
        Modify(false);
}

} // namespace zib
