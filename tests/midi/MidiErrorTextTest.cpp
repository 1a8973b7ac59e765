#include "midi/CMidiFileParser.h"
#include "midi/CMidiParserEx.h"
#include "midi/CStyleMidiReader.h"
#include "tests/midi/MidiTestHelpers.h"

#include <gtest/gtest.h>

using namespace zib;
using namespace zib::test;

// Every text of every error table, character by character, through the
// class that formats it (a subclass tries its base's table first unless it
// says otherwise).
TEST(MidiErrorText, EveryCodeOfEveryReaderClass)
{
    CMidiFile file;
    CMidiFileEx fileEx;
    CMidiParserEx parserEx;
    CMidiFileParser converter;
    CStyleMidiReader styleReader;
    struct Case {
        CMidiFile* reader;
        int code;
        const char* text;
    };
    const Case cases[] = {
        {&file, 0, "CMidiFile error: 0 - Success"},
        {&file, 1, "CMidiFile error: 1 - Not expected chunk ID"},
        {&file, 2, "CMidiFile error: 2 - Bad read/write flag"},
        {&file, 3, "CMidiFile error: 3 - Bad MThd chunk"},
        {&file, 4, "CMidiFile error: 4 - Bad MTrk chunk"},
        {&file, 5, "CMidiFile error: 5 - Bad I/O flag"},
        {&file, 6, "CMidiFile error: 6 - Bad read/write number of bytes"},
        {&file, 7, "CMidiFile error: 7 - File open failed"},
        {&file, 8, "CMidiFile error: 8 - Reading past end of file"},
        {&file, 9, "CMidiFile error: 9 - Seek past end of file"},
        {&file, 10, "CMidiFile error: 10 - Seek pre begining of file"},
        {&file, 11, "CMidiFile error: 11 - Bad number for read/write operation"},
        {&file, 12, "CMidiFile error: 12 - Seek operation failed"},
        {&file, 13, "CMidiFile error: 13 - Missing MThd chunk"},
        {&file, 14, "CMidiFile error: 14 - Unexpected chunk header"},
        {&file, 15, "CMidiFile error: 15 - Invalid event data"},
        {&file, 16, "CMidiFile error: 16 - Invalid event code"},
        {&file, 17, "CMidiFile error: 17 - Bad meta event len"},
        {&file, 18, "CMidiFile error: 18 - MIDI Format not supported"},
        {&file, 19, "CMidiFile error: 19 - Invalid number of tracks"},
        {&file, 20, "CMidiFile error: 20 - Invalid tact denominator"},
        {&file, 21, "CMidiFile error: 21 - MIDI data corrupted"},
        {&file, 22, "CMidiFile error: 22 - Bad ftell() operation"},
        {&file, 23, "CMidiFile error: 23 - Bad event delta time"},
        {&file, 24, "CMidiFile error: 24 - Event data too long"},
        {&file, 25, ""},
        {&fileEx, 30, "CMidiFileEx error: 30 - Measure limit exceeded"},
        {&fileEx, 100, "CMidiFileEx error: 100 - Application defined error code"},
        {&fileEx, 101, "CMidiFileEx error: 101 - Time signature found at wrong place"},
        {&fileEx, 102, "CMidiFileEx error: 102 - Time signature found out of zero tick"},
        {&fileEx, 103, "CMidiFileEx error: 103 - Cannot allocate space for RAM buffer"},
        {&fileEx, 104, "CMidiFileEx error: 104 - Wrong FREAD operation"},
        {&fileEx, 105, ""},
        {&parserEx, 106, "CMidiParserEx error: 106 - Not really an error"},
        {&parserEx, 107, "CMidiParserEx error: 107 - MIDI file format not supported"},
        {&parserEx, 108, "CMidiParserEx error: 108 - Time signature found at wrong place"},
        {&parserEx, 109, "CMidiParserEx error: 109 - Time signature found out of zero tick"},
        {&parserEx, 110, "CMidiParserEx error: 110 - Cannot allocate space for RAM buffer"},
        {&parserEx, 111, "CMidiParserEx error: 111 - Cannot allocate data for event array"},
        {&parserEx, 112, "CMidiParserEx error: 112 - Last midi track not finished"},
        {&parserEx, 113, "CMidiParserEx error: 113 - Cannot allocate channel buffer"},
        {&parserEx, 114, "CMidiParserEx error: 114 - Max track number limit exceeded"},
        {&parserEx, 115, "CMidiParserEx error: 115 - Internal mapper error"},
        {&parserEx, 116, "CMidiParserEx error: 116 - Track buffer is empty"},
        {&parserEx, 117, "CMidiParserEx error: 117 - Cannot convert MIDI buffer while recreating"},
        {&parserEx, 118, "CMidiParserEx error: 118 - Track size differs from chunk size"},
        {&parserEx, 119, "CMidiParserEx error: 119 - Unexpected channel MIDI event in Tempo Track"},
        {&parserEx, 120, "CMidiParserEx error: 120 - Found incorrect number of MIDI Tracks"},
        {&parserEx, 101, "CMidiFileEx error: 101 - Time signature found at wrong place"},
        {&converter, 100, "CMidiFile error: 100 - Application defined error code"},
        {&converter, 101, "CMidiFile error: 101 - Midi format determined"},
        {&converter, 102, "CMidiFile error: 102 - Midi format not supported"},
        {&converter, 103, "CMidiFile error: 103 - Cannot allocate data for event array"},
        {&converter, 104, "CMidiFile error: 104 - Last midi track not finished"},
        {&converter, 105, "CMidiFile error: 105 - Cannot allocate channel buffer"},
        {&converter, 106, "CMidiFile error: 106 - Max track number limit exceeded"},
        {&converter, 30, ""},
        // The CV reader's own codes come before the measure layer's.
        {&styleReader, 101, "CStyleMidiReader error: 101 - CV MIDI file is not format 0"},
        {&styleReader, 102, "CStyleMidiReader error: 102 - Cannot allocate event"},
        {&styleReader, 104, "CStyleMidiReader error: 104 - CV MIDI file does not hold exactly one track"},
        {&styleReader, 105, "CStyleMidiReader error: 105 - Note-off found before its note-on"},
        {&styleReader, 106, "CStyleMidiReader error: 106 - Style element or chord variation out of range"},
        {&styleReader, 107, "CStyleMidiReader error: 107 - Time signature found at wrong place"},
        {&styleReader, 100, "CMidiFileEx error: 100 - Application defined error code"},
        {&styleReader, 30, "CMidiFileEx error: 30 - Measure limit exceeded"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(errorText(*c.reader, c.code), c.text) << c.code;
}
