#include "docs/program/CZibArgDoc.h"

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CZibArgDoc, wxDocument);

} // namespace zib
