#include "ui/CZibMdiChild.h"

#include <wx/docview.h>

namespace zib {

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

} // namespace zib
