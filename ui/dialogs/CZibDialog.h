#pragma once

#include <functional>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <wx/dialog.h>
#include <wx/sizer.h>

namespace zib {

// Base of the program's dialogs: texts in the current language and the
// button rows they share. Controls carry the ids the program knows them by.
class CZibDialog : public wxDialog {
public:
    CZibDialog(wxWindow* parent, std::string_view englishTitle, long style = wxDEFAULT_DIALOG_STYLE);

protected:
    // A UI text in the current language.
    static wxString T(std::string_view english);

    // A row of buttons (id, English label), right-aligned.
    wxSizer* ButtonRow(std::initializer_list<std::pair<int, std::string_view>> buttons);
    // The usual OK / Cancel row.
    wxSizer* OkCancelRow() { return ButtonRow({{wxID_OK, "OK"}, {wxID_CANCEL, "Cancel"}}); }
    // OK, Cancel and a Help button that does nothing (there is no help system).
    wxSizer* OkCancelHelpRow() { return ButtonRow({{wxID_OK, "OK"}, {wxID_CANCEL, "Cancel"}, {wxID_HELP, "Help"}}); }

    // Lays the dialog out around `content` and centres it on its parent.
    void Finish(wxSizer* content);
    // The same with the OK / Cancel row below `content`; OK hands the
    // controls' values on through `onOk` and closes the dialog.
    void FinishOkCancel(wxSizer* content, std::function<void()> onOk);
    // The same with OK, Cancel and Help below `body`; OK runs `ok`, then ends the dialog.
    void FinishWithOk(wxSizer* body, std::function<void()> ok);
};

} // namespace zib
