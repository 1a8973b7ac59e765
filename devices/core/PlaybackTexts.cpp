#include "devices/core/PlaybackTexts.h"

#include "midi/NoteAlphabets.h"

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

const char* GetNoteOctaveText(int note, int alphabet)
{
    static thread_local char text[16];
    if (note < 0) note = 0;
    std::snprintf(text, sizeof text, "%s%d", NoteAlphabetName(note % 12, alphabet), note / 12 - 1);
    return text;
}

} // namespace zib
