#include "styles/PsrConvertError.h"

namespace zib {

namespace {

// Texts of codes 100-128, in code order; the spellings are the program's own.
constexpr const char* kTexts[] = {
    "Application defined error code",                        // 100
    "Time signature found at wrong place",                   // 101
    "Time signature found out of zero tick",                 // 102
    "Cannot allocate space for RAM buffer",                  // 103
    "Internal mapper error",                                 // 104
    "Wrong style element index",                             // 105
    "Section already found",                                 // 106
    "Section marker at wrong place",                         // 107
    "Too many CV's per SE",                                  // 108
    "Found fatal errors during parsing",                     // 109
    "Found fatal errors during conversion",                  // 110
    "MIDI file format not supported in MIDI2STY conversion", // 111
    "Time Division not supported by DASK wq-styles",         // 112
    "Tact Denominator not supported by DASK wq-series",      // 113
    "Not enought space allocated for style buffer",          // 114
    "Found zero number of different patterns",               // 115
    "Found zero number of pattern references",               // 116
    "Delta time bytes overflow",                             // 117
    "None style element found",                              // 118
    "None style elment has NoteON events",                   // 119
    "Found zero events in track",                            // 120
    "Cannot parse CASM chunk",                               // 121
    "CASM chunk not parsed successfuly",                     // 122
    "Wrong PSR to QE channel conversion",                    // 123
    "Wrong PSR section index",                               // 124
    "Found wrong Chord Key value",                           // 125
    "Found wrong Chord Type value",                          // 126
    "Written wrong number of pattern references",            // 127
    "SFF1 marker not found (probably not YAMAHA SFF file)",  // 128
};

constexpr int kFirst = 100;
constexpr int kLast = kFirst + int(sizeof kTexts / sizeof kTexts[0]) - 1;
static_assert(kLast == kPsrSff1NotFound);

} // namespace

const char* PsrConvertErrorText(int code)
{
    return code >= kFirst && code <= kLast ? kTexts[code - kFirst] : nullptr;
}

} // namespace zib
