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
{
    // Made here rather than by the base's constructor: a window is realized
    // while it is made, and only from this body on does GTKHandleRealized
    // reach the override that treats the window as a plain one.
    Create(parent, id, title, pos, size, style, name);
}

bool CZibMdiChild::Create(ZibMdiParentFrame* parent, wxWindowID id, const wxString& title, const wxPoint& pos,
                          const wxSize& size, long style, const wxString& name)
{
    if (!ZibMdiChildFrame::Create(parent, id, title, pos, size, style, name)) return false;
    // A frozen notebook (the main window holds its painting while a document
    // opens) sizes its pages only when it thaws, on idle; the toolkit lays the
    // new page out before that. Until then it takes the place of the other
    // pages, not its default 20 x 20, which has no room for a list's scroll bars.
    wxAuiMDIClientWindow* book = parent ? parent->GetClientWindow() : nullptr;
    if (!book || !book->IsFrozen()) return true;
    for (size_t i = 0; i < book->GetPageCount(); ++i) {
        const wxWindow* page = book->GetPage(i);
        if (page != this) {
            SetSize(page->GetRect());
            return true;
        }
    }
    const wxSize area = book->GetClientSize();
    const int tabs = book->GetTabCtrlHeight();
    SetSize(0, tabs, area.x, std::max(area.y - tabs, 1));
    return true;
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
