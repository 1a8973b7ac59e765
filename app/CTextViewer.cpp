#include "app/CTextViewer.h"

#include "app/core/ViewerText.h"
#include "platform/WxText.h"

#include <wx/settings.h>

namespace zib {

CTextViewer::CTextViewer(uint8_t* openerFlag, wxDocument* openerDocument, uint32_t midiWindow)
    : openerFlag_(openerFlag), openerDocument_(openerDocument), midiWindow_(midiWindow)
{
}

bool CTextViewer::Create(ZibMdiParentFrame* parent, const wxString& title)
{
    if (!ZibMdiChildFrame::Create(parent, wxID_ANY, title)) return false;
    Bind(wxEVT_SIZE, &CTextViewer::OnSize, this);
    return true;
}

int CTextViewer::CreateTextCtrl()
{
    text_ = new wxTextCtrl(this, 100, wxString(), wxPoint(0, 0), GetClientSize(),
                           wxTE_MULTILINE | wxTE_READONLY | wxHSCROLL | wxTE_DONTWRAP | wxVSCROLL);
    text_->SetFont(wxSystemSettings::GetFont(wxSYS_ANSI_FIXED_FONT));
    return 0;
}

bool CTextViewer::LoadFile(std::string path)
{
    auto text = ReadViewerText(path);
    if (!text) return false;
    if (text_) text_->ChangeValue(wxFromUtf8(*text));
    SetTitle(titlePrefix_ + wxFromUtf8(path));
    return true;
}

void CTextViewer::OnSize(wxSizeEvent& event)
{
    event.Skip();
    if (text_) text_->SetSize(GetClientSize());
}

} // namespace zib
