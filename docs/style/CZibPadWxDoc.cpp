#include "docs/style/CZibPadWxDoc.h"

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CZibPadWxDoc, wxDocument);

CStyItem* CZibPadWxDoc::EditItem(int row)
{
    return row >= 0 && row < model_.PadCount() ? &model_.m_PadItems[size_t(row)] : nullptr;
}

} // namespace zib
