#include "docs/program/CZibArrDoc.h"

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CZibArrDoc, wxDocument);

CZibArrDoc::CZibArrDoc()
{
    BindItemCommands(model_, [this] { return model_.Count() > 0; });
}

bool CZibArrDoc::OnNewDocument()
{
    if (!wxDocument::OnNewDocument()) return false;
    model_.OnNewDocument();
    return true;
}

} // namespace zib
