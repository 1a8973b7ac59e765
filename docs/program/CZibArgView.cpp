#include "docs/program/CZibArgView.h"

#include "ui/ShellServices.h"
#include "docs/program/CZibArgDoc.h"
#include "docs/program/dialogs/CArgGlobalWq41Dlg.h"
#include "docs/program/dialogs/CArgGlobalWqR65Dlg.h"

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CZibArgView, wxView);

WqGlobalDoc& CZibArgView::Global() const
{
    return static_cast<CZibArgDoc*>(GetDocument())->Model();
}

bool CZibArgView::RunDialog()
{
    ArgDocModel& doc = static_cast<CZibArgDoc*>(GetDocument())->Model();
    ArgGlobalDlgModel model(doc);
    int result = wxID_CANCEL;
    if (doc.model == 'M') result = CArgGlobalWqR65Dlg(ShellFrame(), model).ShowModal();
    else if (doc.model == 'I') result = CArgGlobalWq41Dlg(ShellFrame(), model).ShowModal();
    if (result != wxID_OK) return false;
    return doc.ApplyImage(model.Ok());
}

} // namespace zib
