#include "styles/StyleConvertError.h"

#include <vector>

#include "midi/CMidiFile.h"
#include "midi/MidiErrorText.h"

namespace zib {

namespace {

// Texts of codes 100-146; the spellings are the program's own.
constexpr MidiErrorText kTexts[] = {
    {100, "Application defined error code"},
    {101, "Time signature found at wrong place"},
    {102, "Time signature found out of zero tick"},
    {103, "Cannot allocate space for RAM buffer"},
    {104, "Internal mapper error"},
    {105, "Wrong FREAD operation"},
    {106, "Wrong style track index"},
    {107, "Wrong chord variation index"},
    {108, "Wrong style element index"},
    {109, "Name text cmd at wrong place"},
    {110, "Missing style element name"},
    {111, "Unrecognized style element name"},
    {112, "Style element already found"},
    {113, "Style element text cmd at wrong place"},
    {114, "CV text cmd at wrong place"},
    {115, "CV text cmd found at undefined SE"},
    {116, "Too many CV's per SE"},
    {117, "Incorrect CV Text cmd found"},
    {118, "Cannot convert MIDI channel to arr track"},
    {119, "Cannot allocate style buffer"},
    {120, "Style buffer limit overflow"},
    {121, "Cannot save style data to output file"},
    {122, "Wrong style pattern index"},
    {123, "Wrong Rflag text cmd"},
    {124, "Rflag text cmd at wrong place"},
    {125, "Wrong TensionOFF text cmd"},
    {126, "TensionOFF text cmd at wrong place"},
    {127, "Table text cmd at wrong place"},
    {128, "Table text cmd found at undefined SE"},
    {129, "Wrong Table text cmd"},
    {130, "Shiftup text cmd at wrong place"},
    {131, "Wrong Shiftup text cmd"},
    {132, "Chord variation bar number too high"},
    {133, "Found fatal errors during parsing"},
    {134, "Found fatal errors during conversion"},
    {135, "MIDI file format not supported in MIDI2STY conversion"},
    {136, "Time Division not supported by DASK wq-styles"},
    {137, "Tact Denominator not supported by DASK wq-series"},
    {138, "Not enought space allocated for style buffer"},
    {139, "Found zero number of different patterns"},
    {140, "Delta time bytes overflow"},
    {141, "Style element index overflow"},
    {142, "None style element found"},
    {143, "None style elment has NoteON events"},
    {144, "Found zero events in track"},
    {145, "Cannot create resource file handle"},
    {146, "Wrong VexSound event"},
};

} // namespace

const char* StyleConvertErrorText(int code)
{
    return FindMidiErrorText(kTexts, code);
}

size_t FormatStyleConvertError(int code, char* buffer, size_t size)
{
    const char* text = StyleConvertErrorText(code);
    return text ? size_t(FormatMidiError(buffer, size, "CMidiFile", code, text)) : 0;
}

std::string ReportedErrorText(CMidiFile& reader, int code, size_t room)
{
    std::vector<char> text(room + 1, '\0');
    reader.ReportError(text.data(), room, code);
    return text.data();
}

} // namespace zib
