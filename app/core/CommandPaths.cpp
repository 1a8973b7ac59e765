#include "app/core/CommandPaths.h"

namespace zib {

std::string FolderOfPath(std::string_view path, std::string_view fallback)
{
    size_t slash = path.find_last_of('/');
    if (slash == std::string_view::npos) return std::string(fallback);
    return std::string(path.substr(0, slash));
}

std::string_view FileNameOfPath(std::string_view path)
{
    size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string PathInFolder(std::string_view folder, std::string_view name)
{
    std::string out(folder);
    if (out.empty() || out.back() != '/') out += '/';
    out += name;
    return out;
}

} // namespace zib
