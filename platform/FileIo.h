#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace zib {

// Whole-file reading and all-or-nothing writing.
enum class FileIoError {
    None = 0,
    OpenFailed,   // the file could not be opened or created
    ReadFailed,   // a read returned fewer bytes than the file holds
    WriteFailed,  // a short write or a failing close
    RenameFailed, // the finished temporary file could not take the target's place
    TooLarge,     // the file is larger than the caller allows
};

// Reads the whole file; fails with TooLarge past `maxSize` bytes.
FileIoError readWholeFile(const std::filesystem::path& path, std::vector<uint8_t>& out,
                          uintmax_t maxSize = uintmax_t(1) << 31);

// A file's bytes in a buffer that is not cleared before the read fills it (a
// large file's memory is touched once, in huge pages where the system has them)
struct FileBytes {
    struct Free {
        void operator()(uint8_t* bytes) const;
    };
    std::unique_ptr<uint8_t, Free> data;
    size_t size = 0;
};
FileIoError readWholeFile(const std::filesystem::path& path, FileBytes& out, uintmax_t maxSize = uintmax_t(1) << 31);

// Whether the two paths name one file: the same file on disk (through links,
// "..", another spelling of the folder), or, where one does not exist, the
// same path once made absolute and normal.
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// Writes `bytes` to a temporary file beside `path`, flushes and closes it, then
// renames it over `path`. On any failure the temporary file is removed and
// `path` is left as it was: a reader never sees a half-written file.
FileIoError writeFileAtomically(const std::filesystem::path& path, std::span<const uint8_t> bytes);
FileIoError writeFileAtomically(const std::filesystem::path& path, std::string_view text);

} // namespace zib
