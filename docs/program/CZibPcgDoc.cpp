#include "docs/program/CZibPcgDoc.h"

#include "ui/ShellServices.h"
#include "docs/program/core/PcgLayout.h"

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CZibPcgDoc, wxDocument);

CZibPcgDoc::CZibPcgDoc()
{
    // The program count decides, also while the drum kits are shown.
    BindItemCommands(model_, [this] { return model_.ProgramCount() > 0; });
}

bool CZibPcgDoc::OnNewDocument()
{
    if (!wxDocument::OnNewDocument()) return false;
    model_.OnNewDocument(Shell().NewDocSubType());
    return true;
}

std::string CZibPcgDoc::SaveFilter() const
{
    return pcg::IsFamilyB(model_.model) ? "Program Files (*.prg)|*.prg||" : "Program Files (*.pcg)|*.pcg||";
}

std::string CZibPcgDoc::SaveExtension() const
{
    return pcg::IsFamilyB(model_.model) ? "PRG" : "PCG";
}

} // namespace zib
