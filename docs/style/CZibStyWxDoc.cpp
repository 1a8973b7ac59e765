#include "docs/style/CZibStyWxDoc.h"

#include <wx/window.h>

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CZibStyWxDoc, wxDocument);

namespace {

void closeWindow(wxWindow*& window, uint8_t& open)
{
    if (open && window) window->Close(true);
    window = nullptr;
    open = 0;
}

} // namespace

CZibStyWxDoc::CZibStyWxDoc()
{
    model_.SetPort(&port_);
    model_.SetModifiedListener([this] { Modify(true); });
}

void CZibStyWxDoc::CloseToolWindows()
{
    closeWindow(m_TrackEventWindow, m_TrackEventOpen);
    closeWindow(m_StyleEditFrame, m_StyleEditFrameOpen);
    closeWindow(m_TextDumpWindow, m_TextDumpOpen);
}

void CZibStyWxDoc::CloseTrackEventWindow()
{
    closeWindow(m_TrackEventWindow, m_TrackEventOpen);
}

bool CZibStyWxDoc::OnNewDocument()
{
    if (!wxDocument::OnNewDocument()) return false;
    model_.NewDocument();
    UpdateAllViews();
    return true;
}

bool CZibStyWxDoc::OpenImage(std::vector<uint8_t> image, const std::string& path)
{
    return model_.OpenImage(std::move(image), path);
}

} // namespace zib
