#include "docs/program/core/DocPaths.h"

#include "ui/core/AsciiCase.h"

#include <algorithm>

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace zib {

namespace fs = std::filesystem;

std::string FolderOf(std::string_view path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash));
}

std::string UpperTail(std::string_view text, size_t n)
{
    return UpperAscii(text.substr(text.size() >= n ? text.size() - n : 0));
}

std::string JoinPath(std::string_view folder, std::string_view name)
{
    if (folder.empty()) return std::string(name);
    std::string joined(folder);
    if (joined.back() != '/') joined += '/';
    joined += name;
    return joined;
}

FileIoError ReadFilePrefix(const std::string& path, size_t limit, std::vector<uint8_t>& out)
{
    out.clear();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return FileIoError::OpenFailed;
    std::error_code ec;
    const uintmax_t size = fs::file_size(path, ec);
    if (ec) {
        std::fclose(f);
        return FileIoError::ReadFailed;
    }
    out.resize(size_t(std::min<uintmax_t>(size, limit)));
    const size_t got = out.empty() ? 0 : std::fread(out.data(), 1, out.size(), f);
    std::fclose(f);
    if (got != out.size()) {
        out.clear();
        return FileIoError::ReadFailed;
    }
    return FileIoError::None;
}

std::optional<std::string> FindSiblingIgnoringCase(std::string_view path, std::string_view ext)
{
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return std::nullopt;
    const std::string folder = FolderOf(path);
    const std::string stem(path.substr(slash == std::string_view::npos ? 0 : slash + 1,
                                       dot - (slash == std::string_view::npos ? 0 : slash + 1)));
    const std::string wanted = stem + "." + std::string(ext);
    // The exact name first, then any name that differs only in case.
    const std::string exact = JoinPath(folder, wanted);
    std::error_code ec;
    if (fs::is_regular_file(exact, ec)) return exact;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : fs::path(folder), ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (EqualIgnoringCase(name, wanted) && it->is_regular_file(ec)) return JoinPath(folder, name);
    }
    return std::nullopt;
}

} // namespace zib
