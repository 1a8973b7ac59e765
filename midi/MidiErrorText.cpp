#include "midi/MidiErrorText.h"

#include <cstdio>
#include <cstring>

namespace zib {

const char* FindMidiErrorText(std::span<const MidiErrorText> table, int code)
{
    for (const auto& row : table)
        if (row.code == code) return row.text;
    return nullptr;
}

int FormatMidiError(char* buffer, size_t size, const char* className, int code, const char* text)
{
    if (buffer == nullptr || size == 0) return 0;
    std::snprintf(buffer, size, "%s error: %d - %s", className, code, text);
    return int(std::strlen(buffer));
}

} // namespace zib
