#pragma once

#include "docs/style/core/StyNotice.h"

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>
#include <vector>
#include <wx/radiobut.h>
#include <wx/string.h>

class wxWindow;

namespace zib {

// What the style and pad windows share: notices in message boxes, file
// filters, the private clipboard format and the document bars' buttons.

// Shows a notice in the current language; an empty caption shows the
// program's name. Returns the button pressed.
int ShowStyNotice(const StyNotice& notice, wxWindow* parent = nullptr);
// The notice sink of a document whose window is `parent` (may be null).
StyNoticeSink StyNoticeBoxes(wxWindow* parent = nullptr);

// A file-dialog filter ("Name|*.EXT||") in the current language, each
// pattern in both cases.
wxString StyFileFilter(std::string_view filter);

// The block of the private clipboard format on the clipboard. `attached`
// tells whether the clipboard could be opened at all.
std::optional<std::vector<uint8_t>> ReadClipboardBlock(bool* attached = nullptr);
bool ClipboardHasBlock();
// Puts a block on the clipboard; false when the clipboard cannot take it.
bool PutClipboardBlock(const std::vector<uint8_t>& block);

// A window title or label: the English format in the current language with
// its conversions filled by `args` (UTF-8).
wxString StyFormat(std::string_view format, std::initializer_list<std::string_view> args);

// A group of radio buttons of which none need be checked (a stored value
// the buttons do not name): a hidden first button of the group holds the
// check then.
class RadioGroupWithNone {
public:
    explicit RadioGroupWithNone(wxWindow* parent);
    wxRadioButton* Add(wxWindow* parent, int id, const wxString& label);
    // Checks button `index` (-1: none).
    void Check(int index);
    // The checked button, -1 for none.
    int Checked() const;

private:
    wxRadioButton* none_;
    std::vector<wxRadioButton*> buttons_;
};

// Converts an edited text of the windows into the item bytes (Windows-1252).
std::string ItemTextFromWx(const wxString& text);
wxString ItemTextToWx(std::string_view bytes);

} // namespace zib
