// The error texts of the style converters, the collectors and the PSR
// converter (the importer's are pinned with its own tests), pinned from the tables the formats are documented in
// (not from the code's own tables): a changed text breaks here.

#include "styles/CMidiCollect.h"
#include "styles/CMidiToQeStyConverter.h"
#include "styles/CMidiToWqStyConverter.h"
#include "styles/CPsrStyConverter.h"
#include "styles/CQeMidiCollect.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zib {
namespace {

struct CodeText {
    int code;
    const char* text;
};

// Every code of `texts` is reported as "... error: <code> - <text>".
template <class Reporter> void expectTexts(Reporter& reporter, const std::vector<CodeText>& texts)
{
    for (const CodeText& t : texts) {
        char buffer[256] = {};
        const int n = reporter.ReportError(buffer, sizeof buffer, t.code);
        const std::string text(buffer);
        EXPECT_EQ(n, int(text.size())) << t.code;
        const std::string tail = " error: " + std::to_string(t.code) + " - " + t.text;
        EXPECT_TRUE(text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0)
            << t.code << ": " << text;
    }
}

// The MIDI-to-style converters of both series share one table.
const std::vector<CodeText> kStyleConversionTexts = {
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

TEST(ErrorTextPins, StyleConvertersOfBothSeries)
{
    CMidiToQeStyConverter qe;
    expectTexts(qe, kStyleConversionTexts);
    CMidiToWqStyConverter wq;
    expectTexts(wq, kStyleConversionTexts);
}

TEST(ErrorTextPins, CvCollectorsOfBothSeries)
{
    std::vector<CodeText> texts = {
        {106, "Midi format not supported in this function"},
        {107, "Cannot allocate track buffers"},
        {108, "Tempo track longer then channel tracks"},
        {109, "Chord variation MIDI file name not correct"},
        {110, "Unexpected MIDI channel found"},
        {111, "Base files have different Time Division (PPQN)"},
    };
    CMidiCollect wq;
    expectTexts(wq, texts);
    texts.push_back({112, "Found more then 8 channel tracks"});
    texts.push_back({113, "Found event in channel that is already processed"});
    CQeMidiCollect qe;
    expectTexts(qe, texts);
}

TEST(ErrorTextPins, PsrStyleConverter)
{
    const std::vector<CodeText> texts = {
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
    CPsrStyConverter converter;
    expectTexts(converter, texts);
}

} // namespace
} // namespace zib
