#include "ui/ZibMessageBox.h"

#include "ui/ShellServices.h"
#include "ui/texts/UiText.h"
#include "ui/texts/ZibMessageTable.h"
#include "platform/WxText.h"

#include <wx/app.h>
#include <wx/msgdlg.h>

namespace zib {

int ZibTextBox(const wxString& text, const wxString& caption, long style, wxWindow* parent)
{
    if (!parent && wxTheApp) parent = wxTheApp->GetTopWindow();
    wxMessageDialog box(parent, text, caption, style);
    int answer = box.ShowModal();
    return answer;
}

int ZibMessageBox(int message, const wxString& caption, long style, wxWindow* parent)
{
    return ZibTextBox(wxFromUtf8(ZibMessage(message, ShellLanguage())), caption, style, parent);
}

wxString UiTextWx(std::string_view english)
{
    return wxFromUtf8(UiText(english, ShellLanguage()));
}

} // namespace zib
