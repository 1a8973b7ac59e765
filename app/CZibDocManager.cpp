#include "app/CZibDocManager.h"

#include "app/CZibApp.h"
#include "app/CZibDocTemplate.h"
#include "platform/WxText.h"

#include <wx/filehistory.h>

namespace zib {

CZibDocManager::CZibDocManager() : wxDocManager(0, false)
{
    // Initialised here, not in the base constructor, so that our own file history is the one made.
    Initialize();
}

std::vector<CZibDocTemplate*> CZibDocManager::ZibTemplates() const
{
    std::vector<CZibDocTemplate*> out;
    for (wxDocTemplate* t : const_cast<CZibDocManager*>(this)->GetTemplatesVector())
        if (auto* z = dynamic_cast<CZibDocTemplate*>(t)) out.push_back(z);
    return out;
}

wxDocTemplate* CZibDocManager::FindTemplateForPath(const wxString& path)
{
    std::string p = wxToUtf8(path);
    CZibDocTemplate* best = nullptr;
    MatchConfidence bestConfidence = MatchConfidence::No;
    for (CZibDocTemplate* t : ZibTemplates()) {
        MatchConfidence c = t->MatchDocType(p, nullptr);
        if (c > bestConfidence) {
            best = t;
            bestConfidence = c;
        }
    }
    return best;
}

wxDocument* CZibDocManager::OpenZibDocument(const std::string& path)
{
    // An open document with this very path is brought forward, not read again.
    for (CZibDocTemplate* t : ZibTemplates()) {
        wxDocument* open = nullptr;
        if (t->MatchDocType(path, &open) == MatchConfidence::YesAlreadyOpen && open) {
            if (wxView* view = open->GetFirstView())
                if (wxWindow* frame = view->GetFrame()) frame->Raise();
            return open;
        }
    }
    if (ZibTemplates().empty()) return nullptr;
    return CreateDocument(wxFromUtf8(path), wxDOC_SILENT);
}

void CZibDocManager::AddFileToHistory(const wxString& file)
{
    wxGetApp().AddToRecentFileList(wxToUtf8(file));
}

wxFileHistory* CZibDocManager::OnCreateFileHistory()
{
    // The program keeps its own list of recent files; this one is never shown.
    return new wxFileHistory(1);
}

} // namespace zib
