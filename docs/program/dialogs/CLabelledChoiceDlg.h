#pragma once

#include "ui/dialogs/CZibDialog.h"

#include <string>
#include <string_view>
#include <vector>

class wxChoice;

namespace zib {

// A dialog of one drop-down list beside its label, as "Midi Channel" and
// "Pedal & SW Dialog" are: the label and entries are Windows-1252; OK puts
// the chosen entry into `selection` (-1: none).
class CLabelledChoiceDlg : public CZibDialog {
protected:
    CLabelledChoiceDlg(wxWindow* parent, std::string_view englishTitle, int labelId, const std::string& label,
                       int listId, const std::vector<std::string>& options, int& selection);

private:
    wxChoice* list_ = nullptr;
};

} // namespace zib
