#include "docs/style/CZibStyWxDoc.h"

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CZibStyWxDoc, wxDocument);

CZibStyWxDoc::CZibStyWxDoc()
{
    model_.SetPort(&port_);
    model_.SetModifiedListener([this] { Modify(true); });
}

CStyItem* CZibStyWxDoc::EditItem(int row)
{
    return row >= 0 && row < model_.StyCount() ? &model_.m_StyItems[size_t(row)] : nullptr;
}

bool CZibStyWxDoc::OnNewDocument()
{
    if (!wxDocument::OnNewDocument()) return false;
    RefreshSettings();
    model_.NewDocument();
    UpdateAllViews();
    return true;
}

bool CZibStyWxDoc::OpenImage(std::vector<uint8_t> image, const std::string& path)
{
    return model_.OpenImage(std::move(image), path);
}

} // namespace zib
