#include "devices/CBarViewHostFrame.h"

#include "ui/ShellServices.h"
#include "ui/core/CommandIds.h"
#include "devices/AppPlaybackHost.h"
#include "devices/CZibMidBarView.h"
#include "devices/core/BarViewCommands.h"
#include "platform/FileIo.h"
#include "platform/WxText.h"

#include <filesystem>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/settings.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace zib {

CBarViewHostFrame* CBarViewHostFrame::Open(ZibMdiParentFrame& frame, const std::string& path)
{
    std::vector<uint8_t> image;
    if (readWholeFile(std::filesystem::path(path), image) != FileIoError::None) return nullptr;
    auto document = std::make_unique<FilePlaybackDocument>(image, false);
    if (!document->Ok()) return nullptr;
    auto* host = new CBarViewHostFrame(frame, path, std::move(document));
    if (!host->m_view->PopulateView()) {
        host->Destroy();
        return nullptr;
    }
    host->Show();
    host->Activate();
    return host;
}

CBarViewHostFrame::CBarViewHostFrame(ZibMdiParentFrame& frame, const std::string& path,
                                     std::unique_ptr<FilePlaybackDocument> document)
    : CZibMdiChild(&frame, wxID_ANY, wxFromUtf8("Bar view - " + std::filesystem::path(path).filename().string()),
                   wxDefaultPosition, wxSize(720, 420)),
      m_document(std::move(document))
{
    auto* panel = new wxPanel(this);
    // Its own background: left transparent, the MDI client's pattern shows
    // through and the labels cannot be read.
    panel->SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_3DFACE));
    auto* fields = new wxBoxSizer(wxHORIZONTAL);
    auto field = [&](const char* label) {
        fields->Add(new wxStaticText(panel, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 6);
        auto* text = new wxTextCtrl(panel, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(110, -1), wxTE_READONLY);
        fields->Add(text, 0, wxALL, 3);
        return text;
    };
    CZibMidBarView::Windows windows;
    windows.position = m_position = field("Position");
    windows.from = field("From");
    windows.thru = field("Thru");
    windows.tempo = field("Tempo");
    panel->SetSizer(fields);
    m_view = new CZibMidBarView(this, *m_document, AppPlaybackHost::Get(), windows);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(panel, 0, wxEXPAND);
    sizer->Add(m_view, 1, wxEXPAND);
    SetSizer(sizer);
    for (const int command : kBarViewCommands)
        Bind(wxEVT_MENU, &CBarViewHostFrame::OnCommand, this, cmd::ToWxId(command));
}

CBarViewHostFrame::~CBarViewHostFrame()
{
    DestroyChildren(); // the view's player goes while its document is still here
}

void CBarViewHostFrame::OnCommand(wxCommandEvent& event)
{
    RouteBarViewCommand(cmd::FromWxId(event.GetId()), m_view->Engine(), AppPlaybackHost::Get().Player());
}

} // namespace zib
