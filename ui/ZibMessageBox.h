#pragma once

#include <string_view>
#include <wx/string.h>
#include <wx/window.h>

namespace zib {

// A message box with message `message` of the localized message table in the
// current language; the caption names the operation that reports. `style`
// holds the buttons and icon (wxOK | wxICON_ERROR ...). Returns the button
// pressed (wxID_OK, wxID_YES ...).
int ZibMessageBox(int message, const wxString& caption, long style, wxWindow* parent = nullptr);

// The same with a text of its own (already in the language to show).
int ZibTextBox(const wxString& text, const wxString& caption, long style, wxWindow* parent = nullptr);

// UI text of the program in the current language, ready for a window.
wxString UiTextWx(std::string_view english);

} // namespace zib
