#pragma once

#include "docs/program/core/DialogControl.h"

#include <functional>
#include <map>
#include <string>
#include <vector>
#include <wx/window.h>

class wxSizer;

namespace zib {

// The windows of a page's or dialog's controls (DialogControl): a drop-down
// list (wxChoice with the control's id), a check box, a radio group (button i
// has the group's id + i; a hidden first button holds the "none checked"
// state) or a list box whose double click reaches a handler. Load puts the
// model's values into the windows, Store reads them back.
class CDialogControls {
public:
    CDialogControls(wxWindow* parent, std::vector<DialogControl>& controls);

    // Layouts: labelled rows of the controls (label, control), or a table of
    // rows whose cells hold the controls named by `idAt` (0: empty cell).
    wxSizer* Rows(const std::vector<int>& ids);
    wxSizer* Table(const std::vector<std::string>& rowNames, const std::vector<std::string>& columnNames,
                   const std::function<int(int row, int column)>& idAt);
    // The window of one control (made on first use), without a label.
    wxWindow* Window(int id);

    void Load();
    void Store();
    // A list box's lines again from its control (after its model changed them).
    void RefreshLines(int id);
    // A double click on a line of list box `id`.
    void OnActivate(int id, std::function<void(int line)> handler);

private:
    DialogControl* Find(int id);
    wxWindow* Make(DialogControl& c);

    wxWindow* parent_;
    std::vector<DialogControl>& controls_;
    std::map<int, wxWindow*> windows_;              // the control (for radio groups their panel)
    std::map<int, std::vector<wxWindow*>> buttons_; // radio groups: hidden button, then the options
};

} // namespace zib
