#include "docs/program/CZibArrView.h"

#include "ui/ListColumns.h"
#include "ui/ShellServices.h"
#include "docs/program/CZibArrDoc.h"
#include "docs/program/ProgramIcons.h"
#include "docs/program/dialogs/CArrPropSheet.h"

#include <wx/textctrl.h>

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CZibArrView, wxView);

ArrDocModel& CZibArrView::Doc() const
{
    return static_cast<CZibArrDoc*>(GetDocument())->Model();
}

bool CZibArrView::OnCreate(wxDocument* doc, long flags)
{
    return Create<CZibArrDoc>(doc, flags);
}

void CZibArrView::BindViewCommands()
{
    BindItemListCommands();
    BindCommand(progcmd::Properties, [this] { Properties(); }, [] { return true; });
    // The edit takes at most the model's name width.
    list_->Bind(wxEVT_LIST_BEGIN_LABEL_EDIT, [this](wxListEvent& e) {
        if (wxTextCtrl* edit = list_->GetEditControl()) edit->SetMaxLength(long(model_->LabelLimit()));
        e.Skip();
    });
}

int CZibArrView::IconResource() const
{
    return ModelIconResource(Doc().model);
}

void CZibArrView::ColumnClicked(int column)
{
    if (!model_->ColumnClicked(column)) return;
    const auto columns = model_->Columns();
    for (size_t c = 4; c < columns.size() && int(c) < list_->GetColumnCount(); ++c)
        SetListColumnWidth(*list_, int(c), columns[c].width);
    list_->Refresh();
}

void CZibArrView::Properties()
{
    const int row = list_->FocusedRow();
    if (row < 0 || row >= Doc().Count()) return;
    CArrPropSheet sheet(ShellFrame(), Doc(), row, model_->Form());
    if (sheet.ShowModal() != wxID_OK) return;
    GetDocument()->UpdateAllViews();
}

} // namespace zib
