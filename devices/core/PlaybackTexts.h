#pragma once

#include <cstdint>
#include <string>

namespace zib {

// The texts of the player's windows. Measures and beats count from 0 and
// are shown from 1.

// "%3d:%02d:%03d    " the position (and the markers after a move)
std::string FormatPositionText(uint32_t measure, uint32_t beat, uint32_t tick);
// "%03d:%02d:%03d    " the markers as the view fills
std::string FormatMarkerText(uint32_t measure, uint32_t beat, uint32_t tick);
// "%3d" beats per minute
std::string FormatTempoText(uint32_t bpm);

// "%s%d": the note's name in one of six alphabets (6 and above read as 0)
// and its octave note / 12 - 1 ("C4" for note 60 in alphabet 0). The text
// lives in one buffer that the next call overwrites.
const char* GetNoteOctaveText(int note, int alphabet);

} // namespace zib
