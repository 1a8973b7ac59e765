#include "devices/core/PlaybackTexts.h"

#include <cstdio>

namespace zib {

std::string FormatPositionText(uint32_t measure, uint32_t beat, uint32_t tick)
{
    char text[48];
    std::snprintf(text, sizeof text, "%3d:%02d:%03d    ", int(measure + 1), int(beat + 1), int(tick));
    return text;
}

std::string FormatMarkerText(uint32_t measure, uint32_t beat, uint32_t tick)
{
    char text[48];
    std::snprintf(text, sizeof text, "%03d:%02d:%03d    ", int(measure + 1), int(beat + 1), int(tick));
    return text;
}

std::string FormatTempoText(uint32_t bpm)
{
    char text[16];
    std::snprintf(text, sizeof text, "%3d", int(bpm));
    return text;
}

namespace {

// Note names from C upwards: letters, sargam, solfege (Ti), sargam with
// komal and tivra marks, Carnatic, solfege (Si).
constexpr const char* kNoteAlphabets[6][12] = {
    {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"},
    {"s", "s#", "r", "r#", "g", "m", "m#", "p", "p#", "d", "d#", "n"},
    {"Do", "Do#", "Re", "Re#", "Mi", "Fa", "Fa#", "Sol", "Sol#", "La", "La#", "Ti"},
    {"s", "r-", "r", "g-", "g", "m", "m+", "p", "d-", "d", "n-", "n"},
    {"Sa", "Ri-", "Ri", "Ga-", "Ga", "Ma", "Ma+", "Pa", "Dha-", "Dha", "Ni-", "Ni"},
    {"Do", "Do#", "Re", "Re#", "Mi", "Fa", "Fa#", "Sol", "Sol#", "La", "La#", "Si"},
};

} // namespace

const char* GetNoteOctaveText(int note, int alphabet)
{
    static thread_local char text[16];
    if (alphabet < 0 || alphabet >= 6) alphabet = 0;
    if (note < 0) note = 0;
    std::snprintf(text, sizeof text, "%s%d", kNoteAlphabets[alphabet][note % 12], note / 12 - 1);
    return text;
}

} // namespace zib
