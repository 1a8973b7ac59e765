#include "platform/FileIo.h"

#include "platform/AtomicFile.h"

#include <cstdio>
#include <system_error>

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
    AtomicFile file(path);
    if (const FileIoError error = file.Open(); error != FileIoError::None) return error;
    file.Write(bytes.data(), bytes.size());
    return file.Commit();
}

FileIoError writeFileAtomically(const std::filesystem::path& path, std::string_view text)
{
    return writeFileAtomically(path, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

} // namespace zib
