#pragma once

#include "devices/core/InsFileResult.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace zib {

// A text file read one line at a time, the line end removed: the reader under
// the instrument definition parser and the port-instrument relation reader.
// The file is read whole when it opens; lines hold at most 255 characters.
class CLineTextFile {
public:
    static constexpr size_t kMaxLineLength = 255;
    static constexpr uintmax_t kMaxFileSize = uintmax_t(64) << 20;

    CLineTextFile() = default;
    virtual ~CLineTextFile() = default;

    // Opening and closing
    InsFileResult Open(const std::filesystem::path& path);
    // Reads `text` as if it were the file's content.
    void OpenText(std::string_view text);
    InsFileResult Rewind();
    InsFileResult Close();
    bool IsOpen() const { return open_; }
    // Clears the file, its size and the current line.
    virtual void Reset();

    // Reading: the next line without its line feed and a carriage return
    // before it; EndOfFile when no line is left. A line of more than 255
    // characters is cut there and the rest of it skipped. Bytes are kept as
    // they are (NUL included); a file with carriage returns alone as line
    // ends reads as one line.
    InsFileResult ReadLine();
    const std::string& CurrentLine() const { return line_; }
    int64_t FileSize() const { return size_; }

private:
    std::string text_;
    size_t pos_ = 0;
    int64_t size_ = -1;
    bool open_ = false;
    std::string line_;
};

} // namespace zib
