#pragma once

#include <cstddef>
#include <string>

namespace zib {

class CMidiFile;

// Error codes of the MIDI-to-style converters (both series share them); below
// 100 the codes are the MIDI reader's. The texts are in StyleConvertError.cpp.
enum class StyleConvertError : int {
    None = 0,
    ApplicationDefined = 100,
    TimeSigWrongPlace = 101,
    TimeSigOutOfZeroTick = 102,
    CannotAllocateRam = 103,
    InternalMapper = 104,
    WrongFread = 105,
    WrongTrackIndex = 106,
    WrongCvIndex = 107,
    WrongElementIndex = 108,
    NameWrongPlace = 109,
    MissingElementName = 110,
    UnrecognizedElementName = 111,
    ElementAlreadyFound = 112,
    ElementWrongPlace = 113,
    CvWrongPlace = 114,
    CvAtUndefinedElement = 115,
    TooManyCvs = 116,
    IncorrectCv = 117,
    CannotConvertChannel = 118,
    CannotAllocateStyleBuffer = 119,
    StyleBufferOverflow = 120,
    CannotSaveStyle = 121,
    WrongPatternIndex = 122,
    WrongRflag = 123,
    RflagWrongPlace = 124,
    WrongTensionOff = 125,
    TensionOffWrongPlace = 126,
    TableWrongPlace = 127,
    TableAtUndefinedElement = 128,
    WrongTable = 129,
    ShiftupWrongPlace = 130,
    WrongShiftup = 131,
    CvBarNumberTooHigh = 132,
    FatalParsingErrors = 133,
    FatalConversionErrors = 134,
    FormatNotSupported = 135,
    DivisionNotSupported = 136,
    DenominatorNotSupported = 137,
    NotEnoughStyleSpace = 138,
    NoPatterns = 139,
    DeltaOverflow = 140,
    ElementIndexOverflow = 141,
    NoElementFound = 142,
    NoElementWithNotes = 143,
    NoEventsInTrack = 144,
    CannotCreateResource = 145,
    WrongVexSound = 146,
};

// The text of a converter code 100-146, or nullptr for any other code.
const char* StyleConvertErrorText(int code);

// "CMidiFile error: %d - %s" for codes 100-146 into the buffer (truncated,
// always terminated); returns the text length, 0 for other codes.
size_t FormatStyleConvertError(int code, char* buffer, size_t size);

// The text a reader or converter reports for the code a failed run ended
// with, cut to `room` - 1 characters: what the conversion entry points hand
// back to the program. Empty for a code without a text.
std::string ReportedErrorText(CMidiFile& reader, int code, size_t room = 256);

} // namespace zib
