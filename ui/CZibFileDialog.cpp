#include "ui/CZibFileDialog.h"

#include <wx/filename.h>

namespace zib {

void CZibFileDialog::SetAnswer(const wxString& path, int filterIndex)
{
    answered_ = true;
    answerPath_ = path;
    answerFilter_ = filterIndex;
}

wxString CZibFileDialog::GetPath() const
{
    return answered_ ? answerPath_ : wxFileDialog::GetPath();
}

void CZibFileDialog::GetPaths(wxArrayString& paths) const
{
    if (!answered_) return wxFileDialog::GetPaths(paths);
    paths.clear();
    paths.push_back(answerPath_);
}

wxString CZibFileDialog::GetFilename() const
{
    return answered_ ? wxFileName(answerPath_).GetFullName() : wxFileDialog::GetFilename();
}

wxString CZibFileDialog::GetDirectory() const
{
    return answered_ ? wxFileName(answerPath_).GetPath() : wxFileDialog::GetDirectory();
}

int CZibFileDialog::GetFilterIndex() const
{
    return answered_ && answerFilter_ >= 0 ? answerFilter_ : wxFileDialog::GetFilterIndex();
}

} // namespace zib
