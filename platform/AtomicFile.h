#pragma once

#include "platform/FileIo.h"

#include <cstdio>
#include <filesystem>
#include <string_view>

namespace zib {

// A file written in pieces and put in place all at once: the pieces go to a
// temporary file beside the target, and Commit flushes it to the disk and
// renames it over the target. A file dropped before its Commit, or whose
// writing failed, is removed and the target is left as it was: a reader
// never sees a half-written file.
class AtomicFile {
public:
    explicit AtomicFile(std::filesystem::path path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Writing: OpenFailed when the temporary file cannot be made, WriteFailed
    // when a piece does not go in (later pieces are then refused too)
    FileIoError Open();
    FileIoError Write(const void* bytes, size_t n);
    FileIoError Write(std::string_view text) { return Write(text.data(), text.size()); }
    // Puts the file in place, or removes it and gives the first failure
    FileIoError Commit();

private:
    void Discard();

    std::filesystem::path m_path;
    std::filesystem::path m_temp;
    std::FILE* m_file = nullptr;
    FileIoError m_error = FileIoError::None;
};

} // namespace zib
