#include "docs/program/CZibGblView.h"

#include "ui/ShellServices.h"
#include "docs/program/CZibGblDoc.h"
#include "docs/program/dialogs/CGlobalDataDlg.h"

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CZibGblView, wxView);

WqGlobalDoc& CZibGblView::Global() const
{
    return static_cast<CZibGblDoc*>(GetDocument())->Model();
}

bool CZibGblView::RunDialog()
{
    GblDocModel& doc = static_cast<CZibGblDoc*>(GetDocument())->Model();
    GlobalDataDlgModel model(doc);
    CGlobalDataDlg dlg(ShellFrame(), model);
    if (dlg.ShowModal() != wxID_OK) return false;
    return doc.ApplyImage(model.Ok());
}

} // namespace zib
