#include "docs/style/StyleGuiSupport.h"

#include "ui/core/FormatText.h"

#include "ui/ShellServices.h"
#include "ui/CMainToolBar.h"
#include "ui/ZibMessageBox.h"
#include "ui/core/FileFilters.h"
#include "ui/texts/UiText.h"
#include "docs/style/core/StyMenus.h"
#include "platform/Cp1252.h"
#include "platform/WxText.h"
#include "platform/ZibClipboardFormat.h"

#include <wx/aui/framemanager.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>

namespace zib {

namespace {

long iconStyle(StyNoticeIcon icon)
{
    switch (icon) {
    case StyNoticeIcon::Stop:
        return wxICON_ERROR;
    case StyNoticeIcon::Exclamation:
        return wxICON_WARNING;
    default:
        return wxICON_INFORMATION;
    }
}

} // namespace

int ShowStyNotice(const StyNotice& notice, wxWindow* parent)
{
    const wxString caption = notice.caption.empty() ? wxString(ShellServices::kAppName) : wxFromUtf8(notice.caption);
    return ZibTextBox(wxFromUtf8(notice.Localized(ShellLanguage())), caption, wxOK | iconStyle(notice.icon), parent);
}

StyNoticeSink StyNoticeBoxes(wxWindow* parent)
{
    return [parent](const StyNotice& notice) { ShowStyNotice(notice, parent); };
}

wxString StyFileFilter(std::string_view filter)
{
    return wxFromUtf8(TranslatedFilter(CaseInsensitiveFilter(filter),
                                       [](std::string_view name) { return UiText(name, ShellLanguage()); }));
}

std::optional<std::vector<uint8_t>> ReadClipboardBlock(bool* attached)
{
    wxClipboardLocker lock;
    if (attached) *attached = !!lock;
    if (!lock || !ZibClipboardFormatRegistered()) return std::nullopt;
    if (!wxTheClipboard->IsSupported(ZibClipboardFormat())) return std::nullopt;
    wxCustomDataObject data(ZibClipboardFormat());
    if (!wxTheClipboard->GetData(data)) return std::nullopt;
    const auto* bytes = static_cast<const uint8_t*>(data.GetData());
    return std::vector<uint8_t>(bytes, bytes + data.GetSize());
}

bool ClipboardHasBlock()
{
    if (!ZibClipboardFormatRegistered()) return false;
    wxClipboardLocker lock;
    return !!lock && wxTheClipboard->IsSupported(ZibClipboardFormat());
}

bool PutClipboardBlock(const std::vector<uint8_t>& block)
{
    if (block.empty() || !ZibClipboardFormatRegistered()) return false;
    wxClipboardLocker lock;
    if (!lock) return false;
    auto* data = new wxCustomDataObject(ZibClipboardFormat());
    data->SetData(block.size(), block.data());
    return wxTheClipboard->SetData(data);
}

RadioGroupWithNone::RadioGroupWithNone(wxWindow* parent)
    : none_(new wxRadioButton(parent, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, wxRB_GROUP))
{
    none_->Hide();
}

wxRadioButton* RadioGroupWithNone::Add(wxWindow* parent, int id, const wxString& label)
{
    buttons_.push_back(new wxRadioButton(parent, id, label));
    return buttons_.back();
}

void RadioGroupWithNone::Check(int index)
{
    if (index >= 0 && size_t(index) < buttons_.size()) buttons_[size_t(index)]->SetValue(true);
    else none_->SetValue(true);
}

int RadioGroupWithNone::Checked() const
{
    for (size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i]->GetValue()) return int(i);
    return -1;
}

wxString StyFormat(std::string_view format, std::initializer_list<std::string_view> args)
{
    return wxFromUtf8(FormatText(UiText(format, ShellLanguage()), args));
}

std::string ItemTextFromWx(const wxString& text)
{
    return utf8ToCp1252(wxToUtf8(text));
}

wxString ItemTextToWx(std::string_view bytes)
{
    return wxFromUtf8(cp1252ToUtf8(bytes));
}

} // namespace zib
