#include "docs/program/CZibGblDoc.h"

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CZibGblDoc, wxDocument);

bool CZibGblDoc::DeleteContents()
{
    model_.DeleteContents();
    return wxDocument::DeleteContents();
}

} // namespace zib
