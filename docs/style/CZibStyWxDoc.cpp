#include "docs/style/CZibStyWxDoc.h"

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CZibStyWxDoc, wxDocument);

CStyItem* CZibStyWxDoc::EditItem(int row)
{
    return row >= 0 && row < model_.StyCount() ? &model_.m_StyItems[size_t(row)] : nullptr;
}

} // namespace zib
