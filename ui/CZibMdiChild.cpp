#include "ui/CZibMdiChild.h"

#include <algorithm>
#include <vector>
#include <wx/docview.h>

namespace zib {

namespace {

// The windows whose titles name a document, each until it goes.
std::vector<CZibMdiChild*>& windowsTitledAfterDocuments()
{
    static std::vector<CZibMdiChild*> windows;
    return windows;
}

} // namespace

wxString CZibMdiChild::DocumentTitle() const
{
    // A window outlives its document for a moment while both close.
    wxDocument* doc = OwnerDocument();
    wxDocManager* manager = wxDocManager::GetDocumentManager();
    if (!doc || IsBeingDeleted() || !manager || !manager->GetDocuments().Member(doc)) return wxString();
    // A document with unsaved changes carries the mark, as its tab does.
    return doc->GetUserReadableName() + (doc->IsModified() ? "*" : "");
}

CZibMdiChild::CZibMdiChild(ZibMdiParentFrame* parent, wxWindowID id, const wxString& title,
                           const wxPoint& pos, const wxSize& size, long style, const wxString& name)
    : ZibMdiChildFrame(parent, id, title, pos, size, style, name)
{
}

CZibMdiChild::~CZibMdiChild()
{
    std::erase(windowsTitledAfterDocuments(), this);
}

void CZibMdiChild::TitleAfter(const wxDocument& doc, TitleRule rule)
{
    auto& windows = windowsTitledAfterDocuments();
    if (std::find(windows.begin(), windows.end(), this) == windows.end()) windows.push_back(this);
    titleDocument_ = &doc;
    titleRule_ = std::move(rule);
    Retitle();
}

void CZibMdiChild::Retitle()
{
    if (titleDocument_ && titleRule_ && !IsBeingDeleted()) SetTitle(titleRule_(titleDocument_->GetUserReadableName()));
}

void CZibMdiChild::RetitleWindowsOf(const wxDocument& doc)
{
    for (CZibMdiChild* window : windowsTitledAfterDocuments())
        if (window->titleDocument_ == &doc) window->Retitle();
}

} // namespace zib
