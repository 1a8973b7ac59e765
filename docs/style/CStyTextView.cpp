#include "docs/style/CStyTextView.h"

#include "platform/FileIo.h"
#include "platform/WxText.h"

namespace zib {

CStyTextView::CStyTextView(wxWindow* parent)
    : wxTextCtrl(parent, wxID_ANY, wxString(), wxDefaultPosition, wxSize(600, 100),
                 wxTE_MULTILINE | wxTE_READONLY | wxTE_RICH2 | wxHSCROLL)
{
    SetFont(wxFont(wxFontInfo(9).Family(wxFONTFAMILY_TELETYPE)));
}

bool CStyTextView::ShowFile(const std::filesystem::path& file)
{
    std::vector<uint8_t> bytes;
    if (readWholeFile(file, bytes) != FileIoError::None) return false;
    ChangeValue(wxFromCp1252(std::string(bytes.begin(), bytes.end())));
    return true;
}

bool CStyTextView::MoveTo(const std::string& header)
{
    const wxString text = GetValue();
    const int at = text.Find(wxFromCp1252(header));
    if (at == wxNOT_FOUND) return false;
    const long end = long(at) + long(header.size());
    SetSelection(at, end);
    ShowPosition(end);
    ShowPosition(at);
    return true;
}

} // namespace zib
