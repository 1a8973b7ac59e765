#include "devices/core/InsFileResult.h"

namespace zib {

namespace {

struct ResultText {
    InsFileResult result;
    const char* text;
};

constexpr ResultText kResultTexts[] = {
    {InsFileResult::Ok, ""},
    {InsFileResult::CannotOpen, "Cannot open file"},
    {InsFileResult::EndOfFile, "End of file"},
    {InsFileResult::SeekFailed, "Cannot reposition inside file"},
    {InsFileResult::CannotMeasureSize, "Cannot determine file size"},
    {InsFileResult::ReadFailed, "Cannot read file"},
    {InsFileResult::FileTooLarge, "File too large"},
};

} // namespace

const char* InsFileResultText(InsFileResult result)
{
    for (const auto& r : kResultTexts)
        if (r.result == result) return r.text;
    return "Unknown error";
}

} // namespace zib
