#include "docs/program/CProgramWxDoc.h"

#include "ui/core/CommandIds.h"
#include "docs/program/core/ProgramMenus.h"
#include "platform/WxText.h"

#include <algorithm>
#include <wx/app.h>
#include <wx/filename.h>

namespace zib {

const int CProgramWxDoc::kDeleteItems = progcmd::DeleteItems;
const int CProgramWxDoc::kEmptyItem = progcmd::EmptyItem;
const int CProgramWxDoc::kExtractItem = progcmd::ExtractItem;
const int CProgramWxDoc::kExtractAllItems = progcmd::ExtractAllItems;
const int CProgramWxDoc::kImportItems = progcmd::ImportItems;
const int CProgramWxDoc::kSelectAll = progcmd::SelectAll;

CProgramWxDoc::CProgramWxDoc()
{
    BindCommand(cmd::FileSave, [this] {
        if (!m_savedYet || GetFilename().empty())
            SaveAs();
        else
            OnSaveDocument(GetFilename());
    }, [] { return true; });
    BindCommand(cmd::FileSaveAs, [this] { SaveAs(); }, [] { return true; });
    BindCommand(cmd::FileClose, [this] { GetDocumentManager()->CloseDocument(this); }, [] { return true; });
}

void CProgramWxDoc::BindCommand(int id, std::function<void()> action, std::function<bool()> enabled)
{
    Bind(wxEVT_MENU, [this, action](wxCommandEvent&) {
        action();
        AfterCommand();
    }, cmd::ToWxId(id));
    Bind(wxEVT_UPDATE_UI, [enabled](wxUpdateUIEvent& e) { e.Enable(enabled()); }, cmd::ToWxId(id));
}

void CProgramWxDoc::Modify(bool modified)
{
    Base().modified = modified;
    wxDocument::Modify(modified);
}

void CProgramWxDoc::AfterCommand()
{
    if (Base().closeRequested) CloseAfterFatalError();
}

void CProgramWxDoc::CloseAfterFatalError()
{
    Base().closeRequested = false;
    wxDocManager* manager = GetDocumentManager();
    Base().modified = false; // nothing worth saving is left
    wxTheApp->CallAfter([manager, doc = this] {
        // The document may be gone already when its window was closed meanwhile.
        const auto docs = manager->GetDocumentsVector();
        if (std::find(docs.begin(), docs.end(), doc) != docs.end()) manager->CloseDocument(doc, true);
    });
}

bool CProgramWxDoc::OnOpenDocument(const wxString& file)
{
    if (!Base().OnOpenDocument(wxToUtf8(file))) return false;
    SetFilename(file, true);
    Modify(false);
    m_savedYet = true;
    return true;
}

bool CProgramWxDoc::DeleteContents()
{
    Base().DeleteContents();
    return wxDocument::DeleteContents();
}

bool CProgramWxDoc::OnSaveDocument(const wxString& file)
{
    if (!Base().SaveTo(wxToUtf8(file))) return false;
    SetFilename(file, true);
    Modify(false);
    m_savedYet = true;
    return true;
}

bool CProgramWxDoc::OnSaveModified()
{
    const std::string shown = Base().path.empty() ? wxToUtf8(GetUserReadableName()) : Base().path;
    switch (Base().SaveModified(shown)) {
    case DocAnswer::Yes: return Save();
    case DocAnswer::Cancel: return false;
    default: DropChanges(); return true;
    }
}

bool CProgramWxDoc::SaveAs()
{
    FileChoice choice{"Save As", SaveFilter(), SaveExtension(), Base().folder,
                      wxToUtf8(wxFileName(GetFilename()).GetFullName())};
    const auto path = Base().Port().SavePath(choice);
    if (!path || !MaySaveAs(wxFromUtf8(*path)) || !OnSaveDocument(wxFromUtf8(*path))) return false;
    GetDocumentManager()->AddFileToHistory(wxFromUtf8(*path));
    return true;
}

} // namespace zib
