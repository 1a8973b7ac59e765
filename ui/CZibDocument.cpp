#include "ui/CZibDocument.h"

#include "ui/CZibMdiChild.h"

namespace zib {

void CZibDocument::OnChangeFilename(bool notifyViews)
{
    // Without a title of its own the document's name is its file's name.
    SetTitle(wxString());
    wxDocument::OnChangeFilename(notifyViews);
    CZibMdiChild::RetitleWindowsOf(*this);
}

} // namespace zib
