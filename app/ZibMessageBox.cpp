#include "app/ZibMessageBox.h"

#include "app/CZibApp.h"
#include "app/texts/UiText.h"
#include "app/texts/ZibMessageTable.h"
#include "platform/WxText.h"

#include <wx/msgdlg.h>

namespace zib {

namespace {

int language()
{
    return wxTheApp ? wxGetApp().Language() : 0;
}

} // namespace

int ZibTextBox(const wxString& text, const wxString& caption, long style, wxWindow* parent)
{
    if (!parent && wxTheApp) parent = wxTheApp->GetTopWindow();
    wxMessageDialog box(parent, text, caption, style);
    int answer = box.ShowModal();
    return answer;
}

int ZibMessageBox(int message, const wxString& caption, long style, wxWindow* parent)
{
    return ZibTextBox(wxFromUtf8(ZibMessage(message, language())), caption, style, parent);
}

wxString UiTextWx(std::string_view english)
{
    return wxFromUtf8(UiText(english, language()));
}

} // namespace zib
