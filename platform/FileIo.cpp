#include "platform/FileIo.h"

#include <cstdio>
#include <system_error>
#include <unistd.h>

namespace zib {

FileIoError readWholeFile(const std::filesystem::path& path, std::vector<uint8_t>& out, uintmax_t maxSize)
{
    out.clear();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return FileIoError::OpenFailed;
    std::error_code ec;
    uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) { std::fclose(f); return FileIoError::ReadFailed; }
    if (size > maxSize) { std::fclose(f); return FileIoError::TooLarge; }
    out.resize(size_t(size));
    size_t got = size ? std::fread(out.data(), 1, out.size(), f) : 0;
    std::fclose(f);
    if (got != out.size()) { out.clear(); return FileIoError::ReadFailed; }
    return FileIoError::None;
}

FileIoError writeFileAtomically(const std::filesystem::path& path, std::span<const uint8_t> bytes)
{
    std::filesystem::path temp = path;
    temp += ".zibtmp" + std::to_string(::getpid());
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return FileIoError::OpenFailed;
    bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    written = (std::fflush(f) == 0) && written;
    written = (::fsync(::fileno(f)) == 0) && written;
    written = (std::fclose(f) == 0) && written;
    std::error_code ec;
    if (!written) {
        std::filesystem::remove(temp, ec);
        return FileIoError::WriteFailed;
    }
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        return FileIoError::RenameFailed;
    }
    return FileIoError::None;
}

FileIoError writeFileAtomically(const std::filesystem::path& path, std::string_view text)
{
    return writeFileAtomically(path, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

} // namespace zib
