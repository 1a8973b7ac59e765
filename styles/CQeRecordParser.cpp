#include "styles/CQeRecordParser.h"

#include <algorithm>
#include <bit>

#include "midi/MidiErrorText.h"
#include "platform/ByteCursor.h"

namespace zib {

namespace {

constexpr size_t kHeadSize = 8;
constexpr uint8_t kElementId = 0x03;
constexpr uint8_t kInfoId = 0x01;
constexpr uint8_t kTrackTableId = 0x02;
constexpr uint8_t kCvRecordId = 0x03;

constexpr MidiErrorText kQeRecordParserErrorTexts[] = {
    {int(QeRecordError::None), "Success"},
    {int(QeRecordError::SizeField), "Style element chunk size field is wrong"},
    {int(QeRecordError::WrongChunk), "Unexpected chunk in the style element"},
    {int(QeRecordError::Truncated), "Style element chunk is truncated"},
};

int code(QeRecordError error) { return int(error); }

uint32_t u32At(std::span<const uint8_t> chunk, size_t at)
{
    ByteCursor cursor(chunk);
    cursor.seek(at);
    return cursor.u32be();
}

// The payload size of the chunk whose head is at `at`.
uint32_t payloadSize(std::span<const uint8_t> chunk, size_t at) { return u32At(chunk, at + 4); }

} // namespace

const char* QeRecordErrorText(int code)
{
    return FindMidiErrorText(kQeRecordParserErrorTexts, code);
}

int CQeRecordParser::Parse(std::span<const uint8_t> chunk, uint16_t& count)
{
    count = 0;
    trackTable_.fill(0);
    cvCount_ = 0;
    lastUses_ = 0;
    totalUses_ = 0;
    const int result = ParseChildren(chunk);
    count = result == 0 ? totalUses_ : 0;
    return result;
}

int CQeRecordParser::ParseChildren(std::span<const uint8_t> chunk)
{
    const size_t length = chunk.size();
    if (length < kHeadSize) return code(QeRecordError::Truncated);
    if (chunk[0] != kElementId) return code(QeRecordError::WrongChunk);
    if (payloadSize(chunk, 0) != length - kHeadSize) return code(QeRecordError::SizeField);

    // Element info: the CV mask gives the number of CV records, n the number
    // of chord-assign bytes.
    size_t at = kHeadSize;
    if (length - at < 16) return code(QeRecordError::Truncated);
    if (chunk[at] != kInfoId) return code(QeRecordError::WrongChunk);
    cvCount_ = std::popcount(chunk[at + kHeadSize]);
    const size_t n = chunk[at + kHeadSize + 3];
    if (n + 20 > length - at) return code(QeRecordError::Truncated);
    const size_t infoSize = std::max<size_t>(n + 4, payloadSize(chunk, at));
    if (infoSize > length - at - kHeadSize) return code(QeRecordError::Truncated);
    at += kHeadSize + infoSize;

    // Track table
    if (length - at < kHeadSize + kTrackTableSize) return code(QeRecordError::Truncated);
    if (chunk[at] != kTrackTableId) return code(QeRecordError::WrongChunk);
    std::copy_n(chunk.begin() + ptrdiff_t(at + kHeadSize), kTrackTableSize, trackTable_.begin());
    const size_t tableSize = std::max<size_t>(kTrackTableSize, payloadSize(chunk, at));
    if (tableSize > length - at - kHeadSize) return code(QeRecordError::Truncated);
    at += kHeadSize + tableSize;

    // CV records: N is the byte after the event stream.
    for (int cv = 0; cv < cvCount_; ++cv) {
        if (length - at < kHeadSize) return code(QeRecordError::Truncated);
        if (chunk[at] != kCvRecordId) return code(QeRecordError::WrongChunk);
        const size_t recordSize = payloadSize(chunk, at);
        if (recordSize > length - at - kHeadSize || recordSize < 8) return code(QeRecordError::Truncated);
        const size_t streamSize = u32At(chunk, at + kHeadSize + 4);
        if (streamSize >= recordSize - 8) return code(QeRecordError::Truncated);
        lastUses_ = chunk[at + kHeadSize + 8 + streamSize];
        totalUses_ = uint16_t(totalUses_ + lastUses_);
        at += kHeadSize + recordSize;
    }
    return 0;
}

} // namespace zib
