#include "docs/program/CZibPrfDoc.h"

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CZibPrfDoc, wxDocument);

CZibPrfDoc::CZibPrfDoc()
{
    BindItemCommands(model_, [this] { return model_.Count() > 0; });
}

bool CZibPrfDoc::OnNewDocument()
{
    if (!wxDocument::OnNewDocument()) return false;
    model_.OnNewDocument();
    return true;
}

} // namespace zib
