#include "platform/FileIo.h"

#include "platform/AtomicFile.h"

#include <cstdio>
#include <cstdlib>
#include <new>
#include <sys/mman.h>
#include <system_error>

namespace zib {

namespace {

// Opens the file and finds its size within `maxSize`; then `read` fills the
// caller's buffer of that size and gives the bytes it read.
template <typename Read>
FileIoError readWhole(const std::filesystem::path& path, uintmax_t maxSize, Read read)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return FileIoError::OpenFailed;
    std::error_code ec;
    const uintmax_t size = std::filesystem::file_size(path, ec);
    FileIoError error = FileIoError::None;
    if (ec)
        error = FileIoError::ReadFailed;
    else if (size > maxSize)
        error = FileIoError::TooLarge;
    else if (read(f, size_t(size)) != size_t(size))
        error = FileIoError::ReadFailed;
    std::fclose(f);
    return error;
}

} // namespace

FileIoError readWholeFile(const std::filesystem::path& path, std::vector<uint8_t>& out, uintmax_t maxSize)
{
    out.clear();
    const FileIoError error = readWhole(path, maxSize, [&out](std::FILE* f, size_t size) {
        out.resize(size);
        return size ? std::fread(out.data(), 1, size, f) : 0;
    });
    if (error != FileIoError::None) out.clear();
    return error;
}

void FileBytes::Free::operator()(uint8_t* bytes) const
{
    std::free(bytes);
}

FileIoError readWholeFile(const std::filesystem::path& path, FileBytes& out, uintmax_t maxSize)
{
    out = FileBytes{};
    const FileIoError error = readWhole(path, maxSize, [&out](std::FILE* f, size_t size) {
        constexpr size_t kHugePage = 2 * 1024 * 1024;
        void* memory = nullptr;
        if (size >= kHugePage) {
            const size_t rounded = (size + kHugePage - 1) / kHugePage * kHugePage;
            memory = std::aligned_alloc(kHugePage, rounded);
#ifdef MADV_HUGEPAGE
            if (memory) ::madvise(memory, rounded, MADV_HUGEPAGE);
#endif
        } else {
            memory = std::malloc(size ? size : 1);
        }
        if (!memory) throw std::bad_alloc();
        out.data.reset(static_cast<uint8_t*>(memory));
        out.size = size;
        return size ? std::fread(out.data.get(), 1, size, f) : 0;
    });
    if (error != FileIoError::None) out = FileBytes{};
    return error;
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
    return writeFileAtomically(
        path, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b)
{
    std::error_code ec;
    if (std::filesystem::exists(a, ec) && std::filesystem::exists(b, ec))
        return std::filesystem::equivalent(a, b, ec) && !ec;
    const auto normal = [](const std::filesystem::path& p) {
        std::error_code failed;
        const std::filesystem::path absolute = std::filesystem::weakly_canonical(p, failed);
        return failed ? p.lexically_normal() : absolute;
    };
    return normal(a) == normal(b);
}

} // namespace zib
