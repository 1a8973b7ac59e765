#include "docs/style/CZibPadWxDoc.h"

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CZibPadWxDoc, wxDocument);

CZibPadWxDoc::CZibPadWxDoc()
{
    model_.SetPort(&port_);
    model_.SetModifiedListener([this] { Modify(true); });
}

CStyItem* CZibPadWxDoc::EditItem(int row)
{
    return row >= 0 && row < model_.PadCount() ? &model_.m_PadItems[size_t(row)] : nullptr;
}

bool CZibPadWxDoc::OpenImage(std::vector<uint8_t> image, const std::string& path)
{
    return model_.OpenImage(std::move(image), path);
}

} // namespace zib
