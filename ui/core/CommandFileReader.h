#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace zib {

// A whole file read for an application command, with the message number
// (of the localized message table) that reports the step that failed.
struct CommandFile {
    std::vector<uint8_t> bytes;
    int message = 0; // 0 = read; 9 cannot open, 10 cannot reposition,
                     // 12 cannot determine the size, 2 memory allocation
                     // failed, 15 wrong number of bytes read
    bool ok() const { return message == 0; }
};

// Files larger than this count as an allocation failure (message 2).
inline constexpr uint64_t kMaxCommandFileSize = uint64_t(256) << 20;

// Opens the file (a folder cannot be opened as a file), takes its size from
// its end, reads it whole and checks the count.
CommandFile ReadFileForCommand(const std::filesystem::path& path, uint64_t maxSize = kMaxCommandFileSize);

} // namespace zib
