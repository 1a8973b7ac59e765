#include "styles/PsrConvertError.h"

#include "midi/MidiErrorText.h"

namespace zib {

namespace {

// Texts of codes 100-128; the spellings are the program's own.
constexpr MidiErrorText kTexts[] = {
    {100, "Application defined error code"},
    {101, "Time signature found at wrong place"},
    {102, "Time signature found out of zero tick"},
    {103, "Cannot allocate space for RAM buffer"},
    {104, "Internal mapper error"},
    {105, "Wrong style element index"},
    {106, "Section already found"},
    {107, "Section marker at wrong place"},
    {108, "Too many CV's per SE"},
    {109, "Found fatal errors during parsing"},
    {110, "Found fatal errors during conversion"},
    {111, "MIDI file format not supported in MIDI2STY conversion"},
    {112, "Time Division not supported by DASK wq-styles"},
    {113, "Tact Denominator not supported by DASK wq-series"},
    {114, "Not enought space allocated for style buffer"},
    {115, "Found zero number of different patterns"},
    {116, "Found zero number of pattern references"},
    {117, "Delta time bytes overflow"},
    {118, "None style element found"},
    {119, "None style elment has NoteON events"},
    {120, "Found zero events in track"},
    {121, "Cannot parse CASM chunk"},
    {122, "CASM chunk not parsed successfuly"},
    {123, "Wrong PSR to QE channel conversion"},
    {124, "Wrong PSR section index"},
    {125, "Found wrong Chord Key value"},
    {126, "Found wrong Chord Type value"},
    {127, "Written wrong number of pattern references"},
    {128, "SFF1 marker not found (probably not YAMAHA SFF file)"},
};

} // namespace

const char* PsrConvertErrorText(int code)
{
    return FindMidiErrorText(kTexts, code);
}

} // namespace zib
