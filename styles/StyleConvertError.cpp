#include "styles/StyleConvertError.h"

#include <cstdio>

namespace zib {

namespace {

// Texts of codes 100-146, in code order; the spellings are the program's own.
constexpr const char* kTexts[] = {
    "Application defined error code",                       // 100
    "Time signature found at wrong place",                  // 101
    "Time signature found out of zero tick",                // 102
    "Cannot allocate space for RAM buffer",                 // 103
    "Internal mapper error",                                // 104
    "Wrong FREAD operation",                                // 105
    "Wrong style track index",                              // 106
    "Wrong chord variation index",                          // 107
    "Wrong style element index",                            // 108
    "Name text cmd at wrong place",                         // 109
    "Missing style element name",                           // 110
    "Unrecognized style element name",                      // 111
    "Style element already found",                          // 112
    "Style element text cmd at wrong place",                // 113
    "CV text cmd at wrong place",                           // 114
    "CV text cmd found at undefined SE",                    // 115
    "Too many CV's per SE",                                 // 116
    "Incorrect CV Text cmd found",                          // 117
    "Cannot convert MIDI channel to arr track",             // 118
    "Cannot allocate style buffer",                         // 119
    "Style buffer limit overflow",                          // 120
    "Cannot save style data to output file",                // 121
    "Wrong style pattern index",                            // 122
    "Wrong Rflag text cmd",                                 // 123
    "Rflag text cmd at wrong place",                        // 124
    "Wrong TensionOFF text cmd",                            // 125
    "TensionOFF text cmd at wrong place",                   // 126
    "Table text cmd at wrong place",                        // 127
    "Table text cmd found at undefined SE",                 // 128
    "Wrong Table text cmd",                                 // 129
    "Shiftup text cmd at wrong place",                      // 130
    "Wrong Shiftup text cmd",                               // 131
    "Chord variation bar number too high",                  // 132
    "Found fatal errors during parsing",                    // 133
    "Found fatal errors during conversion",                 // 134
    "MIDI file format not supported in MIDI2STY conversion", // 135
    "Time Division not supported by DASK wq-styles",        // 136
    "Tact Denominator not supported by DASK wq-series",     // 137
    "Not enought space allocated for style buffer",         // 138
    "Found zero number of different patterns",              // 139
    "Delta time bytes overflow",                            // 140
    "Style element index overflow",                         // 141
    "None style element found",                             // 142
    "None style elment has NoteON events",                  // 143
    "Found zero events in track",                           // 144
    "Cannot create resource file handle",                   // 145
    "Wrong VexSound event",                                 // 146
};

constexpr int kFirst = 100;
constexpr int kLast = kFirst + int(sizeof kTexts / sizeof kTexts[0]) - 1;
static_assert(kLast == 146);

} // namespace

const char* StyleConvertErrorText(int code)
{
    return code >= kFirst && code <= kLast ? kTexts[code - kFirst] : nullptr;
}

size_t FormatStyleConvertError(int code, char* buffer, size_t size)
{
    const char* text = StyleConvertErrorText(code);
    if (!text || !buffer || size == 0) return 0;
    int n = std::snprintf(buffer, size, "CMidiFile error: %d - %s", code, text);
    if (n < 0) return 0;
    return size_t(n) < size ? size_t(n) : size - 1;
}

} // namespace zib
