#pragma once

#include <functional>
#include <wx/listbox.h>

namespace zib {

// The instrument list of the relation dialog: a list box that tells its
// dialog when it scrolls, so the connector line follows the rows.
class CInstrumentListBox : public wxListBox {
public:
    CInstrumentListBox(wxWindow* parent, int id, const wxSize& size, std::function<void()> onScroll);

private:
    std::function<void()> onScroll_;
};

} // namespace zib
