#include "midi/NoteAlphabets.h"

#include <array>
#include <cstddef>

namespace zib {

namespace {

// Note names from C upwards: letters, sargam, solfege (Ti), sargam with
// komal and tivra marks, Carnatic, solfege (Si).
constexpr std::array<std::array<const char*, 12>, kNoteAlphabetCount> kNoteAlphabets = {{
    {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"},
    {"s", "s#", "r", "r#", "g", "m", "m#", "p", "p#", "d", "d#", "n"},
    {"Do", "Do#", "Re", "Re#", "Mi", "Fa", "Fa#", "Sol", "Sol#", "La", "La#", "Ti"},
    {"s", "r-", "r", "g-", "g", "m", "m+", "p", "d-", "d", "n-", "n"},
    {"Sa", "Ri-", "Ri", "Ga-", "Ga", "Ma", "Ma+", "Pa", "Dha-", "Dha", "Ni-", "Ni"},
    {"Do", "Do#", "Re", "Re#", "Mi", "Fa", "Fa#", "Sol", "Sol#", "La", "La#", "Si"},
}};

} // namespace

const char* NoteAlphabetName(int pitchClass, int alphabet)
{
    if (alphabet < 0 || alphabet >= kNoteAlphabetCount) alphabet = 0;
    const int pc = ((pitchClass % 12) + 12) % 12;
    return kNoteAlphabets[size_t(alphabet)][size_t(pc)];
}

} // namespace zib
