#pragma once

#include <wx/event.h>

namespace zib {

// The program's two private window messages ("Sty-Harvoll-Dunmore" and
// "Prg-Harvoll-Dunmore"). They are registered at start-up; no code posts or
// handles them yet.
wxDECLARE_EVENT(EVT_ZIB_STY_MESSAGE, wxCommandEvent);
wxDECLARE_EVENT(EVT_ZIB_PRG_MESSAGE, wxCommandEvent);

// The value of an in-place value editor reached its owner: GetInt() is the
// new value, GetExtraLong() the row in the low 16 bits and the column in the
// high 16 bits (the Windows WM_USER + 1 of the position dialog).
wxDECLARE_EVENT(EVT_ZIB_POSITION_VALUE, wxCommandEvent);

} // namespace zib
