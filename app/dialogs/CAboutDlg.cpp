#include "app/dialogs/CAboutDlg.h"

#include "app/CZibApp.h"
#include "ui/core/FormatText.h"
#include "ui/texts/UiText.h"
#include "platform/WxText.h"

#include <wx/artprov.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#ifndef ZIB_VERSION
#define ZIB_VERSION "0.0.0"
#endif

namespace zib {

wxString CAboutDlg::ReleaseText()
{
    return wxFromUtf8(FormatText(UiText("Release: %s", wxGetApp().Language()), {ZIB_VERSION}));
}

CAboutDlg::CAboutDlg(wxWindow* parent) : CZibDialog(parent, "About Application")
{
    auto* text = new wxBoxSizer(wxVERTICAL);
    auto* name = new wxStaticText(this, 1047, wxString(CZibApp::kAppName));
    name->SetFont(name->GetFont().Bold().Larger());
    text->Add(name, 0, wxBOTTOM, 4);
    text->Add(new wxStaticText(this, 1568, ReleaseText()), 0, wxBOTTOM, 4);
    text->Add(new wxStaticText(this, 113, T("Qe and Wq-Series with Yamaha PSR conversion!")), 0, wxBOTTOM, 4);
    text->Add(new wxStaticText(this, 1569, wxString::FromUTF8("Copyright \xC2\xA9 Harvoll")), 0, wxBOTTOM, 8);

    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(
        new wxStaticBitmap(this, wxID_ANY, wxArtProvider::GetBitmap(wxART_INFORMATION, wxART_MESSAGE_BOX)), 0,
        wxRIGHT, 12);
    row->Add(text, 1);
    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(row, 1, wxEXPAND);
    content->Add(ButtonRow({{wxID_OK, "OK"}}), 0, wxEXPAND | wxTOP, 8);
    Finish(content);
}

} // namespace zib
