#pragma once

#include "docs/style/core/StyUiPort.h"

#include <string>
#include <vector>

namespace zib {

// "Clean certain events from style sequences", without its window: five
// kinds of channel events and, for control events, the controller ("ALL"
// or 0-127) in a list that is usable only while "Control events" is checked.
struct CleanStyleEventsDlgModel {
    // "ALL", then "0" .. "127"; "ALL" is selected at start.
    static std::vector<std::string> ControllerEntries();
    static bool ControllerListEnabled(bool controlChecked) { return controlChecked; }
    // OK with the boxes and the list's entry (-1 or 0 "ALL": every controller).
    static CleanEventsChoice Ok(bool pitchBend, bool channelPressure, bool polyPressure, bool control,
                                bool programChange, int controllerEntry);
};

} // namespace zib
