#pragma once

#include "devices/core/Chord.h"

#include <string>
#include <string_view>

namespace zib {

// Texts of the console's chord display.

// "C ", "C#", "D ", "D#", "E ", "F", "F#", "G", "G#", "A", "A#", "B" for 0-11; "??" otherwise
std::string_view GetChordRootName(int root);
// "Major" .. "augMaj7" for 0-19, "Major" for 20 and 21 (the display shows them
// as Major), "??" otherwise
std::string GetChordTypeDisplayName(int type);
// " ", "b9", " 9", "#9", "    11" .. "   #11 13" for 0-23; " " otherwise
std::string_view GetTensionSetName(int tension);

// The chord display: "%2s %-10s %s" of the three names above.
std::string FormatChordDisplay(const Chord& chord);

} // namespace zib
