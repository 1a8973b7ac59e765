#pragma once

class wxPropertySheetDialog;

namespace zib {

// The button row of a property sheet (wxOK, wxCANCEL, wxAPPLY flags), its
// labels in the program's language rather than the system's.
void CreateSheetButtons(wxPropertySheetDialog& sheet, int flags);

} // namespace zib
