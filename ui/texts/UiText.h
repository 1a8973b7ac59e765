#pragma once

#include "ui/texts/ZibLanguage.h"

#include <string>
#include <string_view>

namespace zib {

// Translations of the program's menu labels, toolbar and status texts, dialog
// captions, labels and buttons, keyed by the English text exactly as written
// (accelerator '&', "\t" shortcut and printf conversions included).

// The text in `language`; the English key itself for language 0, for a
// language outside 0..2 and for a key the catalogue does not hold, never an
// empty string for a missing entry. The reference stays valid for the whole run.
// Meant for the program's fixed texts: each unknown key is kept for the run.
const std::string& UiText(std::string_view english, int language);

// Whether the catalogue holds a translation of `english`.
bool HasUiText(std::string_view english);

} // namespace zib
