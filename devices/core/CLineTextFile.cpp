#include "devices/core/CLineTextFile.h"

#include "platform/FileIo.h"

#include <algorithm>
#include <vector>

namespace zib {

InsFileResult CLineTextFile::Open(const std::filesystem::path& path)
{
    Reset();
    std::vector<uint8_t> bytes;
    switch (readWholeFile(path, bytes, kMaxFileSize)) {
    case FileIoError::None:
        break;
    case FileIoError::TooLarge:
        return InsFileResult::FileTooLarge;
    case FileIoError::ReadFailed:
        return InsFileResult::ReadFailed;
    default:
        return InsFileResult::CannotOpen;
    }
    OpenText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return InsFileResult::Ok;
}

void CLineTextFile::OpenText(std::string_view text)
{
    Reset();
    text_.assign(text);
    size_ = int64_t(text_.size());
    open_ = true;
}

InsFileResult CLineTextFile::Rewind()
{
    if (!open_) return InsFileResult::SeekFailed;
    pos_ = 0;
    return InsFileResult::Ok;
}

InsFileResult CLineTextFile::Close()
{
    text_.clear();
    text_.shrink_to_fit();
    pos_ = 0;
    open_ = false;
    return InsFileResult::Ok;
}

void CLineTextFile::Reset()
{
    Close();
    size_ = -1;
    line_.clear();
}

InsFileResult CLineTextFile::ReadLine()
{
    line_.clear();
    if (!open_ || pos_ >= text_.size()) return InsFileResult::EndOfFile;
    size_t end = text_.find('\n', pos_);
    const size_t next = end == std::string::npos ? text_.size() : end + 1;
    if (end == std::string::npos) end = text_.size();
    size_t length = end - pos_;
    if (length > 0 && text_[pos_ + length - 1] == '\r') --length;
    // A longer line is cut; the rest of it is skipped.
    line_.assign(text_, pos_, std::min(length, kMaxLineLength));
    pos_ = next;
    return InsFileResult::Ok;
}

} // namespace zib
