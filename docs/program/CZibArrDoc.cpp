#include "docs/program/CZibArrDoc.h"

#include "docs/program/core/ProgramMenus.h"

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CZibArrDoc, wxDocument);

CZibArrDoc::CZibArrDoc()
{
    const auto hasItems = [this] { return model_.Count() > 0; };
    BindCommand(progcmd::DeleteItems, [this] { model_.OnEditDelete(); }, hasItems);
    BindCommand(progcmd::EmptyItem, [this] { model_.OnEditEmpty(); }, hasItems);
    BindCommand(progcmd::ExtractItem, [this] { model_.OnEditExtract(); }, hasItems);
    BindCommand(progcmd::ExtractAllItems, [this] { model_.OnEditExtractAll(); }, hasItems);
    BindCommand(progcmd::ImportItems, [this] { model_.ImportItem(); }, [] { return true; });
    BindCommand(progcmd::SelectAll, [this] { model_.OnEditSelectAll(); }, hasItems);
}

bool CZibArrDoc::OnNewDocument()
{
    if (!wxDocument::OnNewDocument()) return false;
    model_.OnNewDocument();
    return true;
}

bool CZibArrDoc::DeleteContents()
{
    model_.DeleteContents();
    return wxDocument::DeleteContents();
}

} // namespace zib
