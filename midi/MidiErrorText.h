#pragma once

#include <cstddef>
#include <span>

namespace zib {

// One row of a class's error table: the code the system uses and its text.
struct MidiErrorText {
    int code;
    const char* text;
};

// The text of `code` in `table`, or nullptr when the table has no such row.
const char* FindMidiErrorText(std::span<const MidiErrorText> table, int code);

// Writes "<className> error: <code> - <text>" into the caller's buffer,
// truncated to fit and always terminated; returns the length of what was
// stored (0 when the buffer is null or empty).
int FormatMidiError(char* buffer, size_t size, const char* className, int code, const char* text);

} // namespace zib
