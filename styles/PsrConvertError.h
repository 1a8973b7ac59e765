#pragma once

#include <cstddef>

namespace zib {

// Error codes of the PSR-style converter; below 100 the codes are the MIDI
// reader's. The texts are in PsrConvertError.cpp.
enum PsrConvertError : int {
    kPsrApplicationDefined = 100,
    kPsrTimeSigWrongPlace = 101,
    kPsrTimeSigOutOfZeroTick = 102,
    kPsrCannotAllocateRam = 103,
    kPsrInternalMapper = 104,
    kPsrWrongElementIndex = 105,
    kPsrSectionAlreadyFound = 106,
    kPsrSectionMarkerWrongPlace = 107,
    kPsrTooManyCvs = 108,
    kPsrFatalParsingErrors = 109,
    kPsrFatalConversionErrors = 110,
    kPsrFormatNotSupported = 111,
    kPsrDivisionNotSupported = 112,
    kPsrDenominatorNotSupported = 113,
    kPsrNotEnoughStyleSpace = 114,
    kPsrNoPatterns = 115,
    kPsrNoPatternReferences = 116,
    kPsrDeltaOverflow = 117,
    kPsrNoElementFound = 118,
    kPsrNoElementWithNotes = 119,
    kPsrNoEventsInTrack = 120,
    kPsrCannotParseCasm = 121,
    kPsrCasmNotParsed = 122,
    kPsrWrongChannelConversion = 123,
    kPsrWrongSectionIndex = 124,
    kPsrWrongChordKey = 125,
    kPsrWrongChordType = 126,
    kPsrWrongReferenceCount = 127,
    kPsrSff1NotFound = 128,
};

// The text of a code 100-128, or nullptr for any other code.
const char* PsrConvertErrorText(int code);

} // namespace zib
