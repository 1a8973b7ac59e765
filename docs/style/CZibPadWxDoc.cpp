#include "docs/style/CZibPadWxDoc.h"

#include <wx/window.h>

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CZibPadWxDoc, wxDocument);

namespace {

void closeWindow(wxWindow*& window, uint8_t& open)
{
    if (open && window) window->Close(true);
    window = nullptr;
    open = 0;
}

} // namespace

CZibPadWxDoc::CZibPadWxDoc()
{
    model_.SetPort(&port_);
    model_.SetModifiedListener([this] { Modify(true); });
}

void CZibPadWxDoc::CloseToolWindows()
{
    closeWindow(m_TextDumpWindow, m_TextDumpOpen);
    closeWindow(m_PadEditFrame, m_PadEditFrameOpen);
}

void CZibPadWxDoc::ResetEditState()
{
    closeWindow(m_TextDumpWindow, m_TextDumpOpen);
}

bool CZibPadWxDoc::OpenImage(std::vector<uint8_t> image, const std::string& path)
{
    return model_.OpenImage(std::move(image), path);
}

} // namespace zib
