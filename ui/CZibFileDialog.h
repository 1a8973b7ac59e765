#pragma once

#include <wx/filedlg.h>

namespace zib {

// The program's file dialog. A test run answers it without showing it: the
// answer's path and filter index then stand in for the user's choice.
class CZibFileDialog : public wxFileDialog {
public:
    using wxFileDialog::wxFileDialog;

    // Answer given instead of the user's choice
    void SetAnswer(const wxString& path, int filterIndex);

    // wxFileDialog
    wxString GetPath() const override;
    void GetPaths(wxArrayString& paths) const override;
    wxString GetFilename() const override;
    wxString GetDirectory() const override;
    int GetFilterIndex() const override;

private:
    bool answered_ = false;
    wxString answerPath_;
    int answerFilter_ = -1;
};

} // namespace zib
