#include "docs/program/CZibArgView.h"

#include "app/CMainFrame.h"
#include "docs/program/CZibArgDoc.h"
#include "docs/program/dialogs/CArgGlobalDlg.h"

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
    CArgGlobalDlg dlg(CMainFrame::Get(), model);
    if (dlg.ShowModal() != wxID_OK) return false;
    doc.ApplyImage(model.Ok());
    return true;
}

} // namespace zib
