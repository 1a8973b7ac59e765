#pragma once

#include "docs/style/core/StyCommandRules.h"

#include <optional>
#include <vector>

namespace zib {

// The command ids of the style and pad lists' menus, popups and buttons
// and the list command each stands for.
std::optional<StyCommand> StyCommandOfId(int id);
int StyIdOfCommand(StyCommand command);
// Every list command id, for binding.
std::vector<int> StyListCommandIds();

// The greying of the style list's popup "STYLEPOPUP": Paste needs a block
// on the clipboard; the item commands a selected row, Rename and the
// conversions a focused row; a Qe list never offers the text conversion
// and its STS view none of Delete, Extract, Import, Cut and Style To MIDI;
// the Qe-to-Wq conversion is never offered (it has nothing to run).
bool StyPopupEnabled(StyCommand command, const StyListState& state);

} // namespace zib
