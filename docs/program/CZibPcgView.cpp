#include "docs/program/CZibPcgView.h"

#include "ui/ShellServices.h"
#include "ui/core/CommandIds.h"
#include "ui/texts/ZibMessageTable.h"
#include "docs/program/CZibPcgDoc.h"
#include "docs/program/ProgramIcons.h"
#include "docs/program/core/ProgramMenus.h"
#include "docs/program/dialogs/CPrgPropSheet.h"
#include "platform/WxText.h"

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CZibPcgView, wxView);

PcgDocModel& CZibPcgView::Doc() const
{
    return static_cast<CZibPcgDoc*>(GetDocument())->Model();
}

bool CZibPcgView::OnCreate(wxDocument* doc, long flags)
{
    return Create<CZibPcgDoc>(doc, flags);
}

void CZibPcgView::BindViewCommands()
{
    PcgListModel& m = *model_;
    BindItemListCommands();
    BindCommand(progcmd::StsView, [&m] { m.OnStsView(); }, [&m] { return m.StsViewMessage() >= 0; });
    BindCommand(progcmd::Properties, [this] { Properties(); }, [&m] { return m.CanEditProperties(); });
    // "STS View" names the list it switches to.
    Bind(wxEVT_UPDATE_UI, [&m](wxUpdateUIEvent& e) {
        const int message = m.StsViewMessage();
        e.Enable(message >= 0);
        e.SetText(message >= 0 ? wxFromUtf8(ZibMessage(message, Shell().Language())) : wxString());
    }, cmd::ToWxId(progcmd::StsView));
    // The bank menu's entries come back to the list.
    list_->Bind(wxEVT_MENU, [this](wxCommandEvent& e) {
        model_->OnBankRange(e.GetId() - progcmd::BankFirst);
    }, progcmd::BankFirst, progcmd::BankFirst + progcmd::BankCount - 1);
}

int CZibPcgView::IconResource() const
{
    return ModelIconResource(Doc().model);
}

void CZibPcgView::ColumnClicked(int column)
{
    if (column != 1 || !Doc().IsQe()) return;
    const int firstBank = Doc().firstBank;
    ShowPopup(PcgBankMenu(), [firstBank](wxMenu& menu) {
        for (int b = 0; b < progcmd::BankCount; ++b) {
            menu.Enable(progcmd::BankFirst + b, b >= 9);
            menu.Check(progcmd::BankFirst + b, b == firstBank);
        }
    });
}

void CZibPcgView::Properties()
{
    const int row = list_->FocusedRow();
    if (Doc().IsQe() || Doc().ProgramCount() == 0 || row < 0) return;
    CPrgPropSheet sheet(ShellFrame(), Doc(), row);
    if (sheet.ShowModal() == wxID_OK && sheet.WritePages()) GetDocument()->UpdateAllViews();
}

} // namespace zib
