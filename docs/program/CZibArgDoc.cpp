#include "docs/program/CZibArgDoc.h"

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CZibArgDoc, wxDocument);

bool CZibArgDoc::DeleteContents()
{
    model_.DeleteContents();
    return wxDocument::DeleteContents();
}

} // namespace zib
