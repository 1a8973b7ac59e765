#pragma once

namespace zib {

// Result codes of the instrument and relation file readers (0 = success).
enum class InsFileResult : int {
    Ok = 0,
    CannotOpen = 4,        // the file cannot be opened
    EndOfFile = 5,         // no more lines
    SeekFailed = 8,        // a seek fails
    CannotMeasureSize = 10, // the size cannot be measured
    ReadFailed = 11,       // the file cannot be read whole
    FileTooLarge = 13,     // the file is larger than any instrument file can be
};

// English text of a result code ("" for Ok).
const char* InsFileResultText(InsFileResult result);

} // namespace zib
