#include "ui/InPlaceEditor.h"

#include <wx/listctrl.h>
#include <wx/window.h>

namespace zib {

bool CommitInPlaceEdits(wxWindow& window)
{
    if (window.IsBeingDeleted()) return true;
    if (auto* editor = dynamic_cast<InPlaceEditor*>(&window); editor && !editor->CommitInPlaceEdit())
        return false;
    // A list's open label editor takes its text as Enter gives it.
    if (auto* list = dynamic_cast<wxListCtrl*>(&window); list && list->GetEditControl())
        list->EndEditLabel(false);
    // The children are listed first: a commit may rebuild a window's children.
    const wxWindowList children = window.GetChildren();
    for (wxWindow* child : children)
        if (!CommitInPlaceEdits(*child)) return false;
    return true;
}

} // namespace zib
