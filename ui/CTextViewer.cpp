#include "ui/CTextViewer.h"

#include "ui/core/ViewerText.h"
#include "platform/WxText.h"

#include <wx/settings.h>

namespace zib {

CTextViewer::CTextViewer(uint8_t* openerFlag, wxDocument* openerDocument, uint32_t midiWindow)
    : openerFlag_(openerFlag), openerDocument_(openerDocument), midiWindow_(midiWindow)
{
}

bool CTextViewer::Create(ZibMdiParentFrame* parent, const wxString& title)
{
    if (!CZibMdiChild::Create(parent, wxID_ANY, title)) return false;
    Bind(wxEVT_SIZE, &CTextViewer::OnSize, this);
    return true;
}

int CTextViewer::CreateTextCtrl()
{
    text_ = new wxTextCtrl(this, 100, wxString(), wxPoint(0, 0), GetClientSize(),
                           wxTE_MULTILINE | wxTE_READONLY | wxHSCROLL | wxTE_DONTWRAP | wxVSCROLL);
    // Logs and dumps are laid out in columns: show them in a fixed-pitch font.
    text_->SetFont(wxFont(wxFontInfo(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT).GetPointSize())
                              .Family(wxFONTFAMILY_TELETYPE)));
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
