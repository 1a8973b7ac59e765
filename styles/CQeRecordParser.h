#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace zib {

// Errors of the element record parser. The texts are in CQeRecordParser.cpp.
enum class QeRecordError : int {
    None = 0,
    SizeField = 1,  // the element chunk's size field is not its length - 8
    WrongChunk = 2, // a chunk of another id where the element chunk or one of its children belongs
    Truncated = 3,  // the chunk ends inside one of its records
};

// The text of a code, or nullptr for a code without one.
const char* QeRecordErrorText(int code);

// Checks one element container chunk of a Qe style resource and counts the
// pattern uses of its chord variations:
//
//   03 .. .. ..  element (container)
//     01 .. .. ..  element info: CV mask, NTT, time signature, n, n chord bytes
//     02 .. .. ..  track table: 8 records of 6 bytes
//     03 .. .. ..  CV record, one per bit of the CV mask: length, S, stream, N, N pairs
class CQeRecordParser {
public:
    static constexpr size_t kTrackTableSize = 48;

    // 0 or a QeRecordError code; count = the pattern uses of all CVs (0 on error)
    int Parse(std::span<const uint8_t> chunk, uint16_t& count);

    // What the last parse found
    const std::array<uint8_t, kTrackTableSize>& GetTrackTable() const { return trackTable_; }
    int GetCvCount() const { return cvCount_; }
    uint8_t GetLastUses() const { return lastUses_; }
    uint16_t GetTotalUses() const { return totalUses_; }

private:
    int ParseChildren(std::span<const uint8_t> chunk);

    std::array<uint8_t, kTrackTableSize> trackTable_{};
    int cvCount_ = 0;
    uint8_t lastUses_ = 0;
    uint16_t totalUses_ = 0;
};

} // namespace zib
