#include "docs/program/CZibGblDoc.h"

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CZibGblDoc, wxDocument);

} // namespace zib
