#include "ui/CZibDocManager.h"

#include "ui/ShellServices.h"
#include "ui/CZibDocTemplate.h"
#include "platform/WxText.h"

#include <algorithm>
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
    // The program's order is that of the template ids (MIDI 117 ... arrangement
    // global 124), whatever order the areas added theirs in: the New dialog
    // lists them so and the first foreign match is taken in it.
    std::stable_sort(out.begin(), out.end(),
                     [](const CZibDocTemplate* a, const CZibDocTemplate* b) { return a->TemplateId() < b->TemplateId(); });
    return out;
}

CZibDocTemplate* CZibDocManager::MatchPath(const std::string& path, MatchConfidence* confidence,
                                           wxDocument** openDocument)
{
    const std::vector<CZibDocTemplate*> templates = ZibTemplates();
    std::vector<TemplateCandidate> candidates;
    std::vector<std::vector<wxDocument*>> documents(templates.size());
    for (size_t i = 0; i < templates.size(); ++i)
        candidates.push_back(templates[i]->Candidate(&documents[i]));
    const auto match = ChooseDocTemplate(path, candidates);
    if (!match) return nullptr;
    if (confidence) *confidence = match->confidence;
    if (openDocument)
        *openDocument = match->confidence == MatchConfidence::YesAlreadyOpen
                            ? documents[match->templateIndex][match->openDocumentIndex]
                            : nullptr;
    return templates[match->templateIndex];
}

wxDocTemplate* CZibDocManager::FindTemplateForPath(const wxString& path)
{
    return MatchPath(wxToUtf8(path), nullptr, nullptr);
}

wxDocument* CZibDocManager::OpenZibDocument(const std::string& path)
{
    // An open document with this very path is brought forward, not read again.
    MatchConfidence confidence = MatchConfidence::No;
    wxDocument* open = nullptr;
    if (!MatchPath(path, &confidence, &open)) return nullptr;
    if (confidence == MatchConfidence::YesAlreadyOpen && open) {
        if (wxView* view = open->GetFirstView())
            if (wxWindow* frame = view->GetFrame()) frame->Raise();
        return open;
    }
    return CreateDocument(wxFromUtf8(path), wxDOC_SILENT);
}

void CZibDocManager::AddFileToHistory(const wxString& file)
{
    Shell().AddToRecentFileList(wxToUtf8(file));
}

wxFileHistory* CZibDocManager::OnCreateFileHistory()
{
    // The program keeps its own list of recent files; this one is never shown.
    return new wxFileHistory(1);
}

} // namespace zib
