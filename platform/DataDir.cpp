#include "platform/DataDir.h"

#include <cstdlib>
#include <system_error>
#include <unistd.h>

namespace zib {

namespace {

std::filesystem::path executableDir()
{
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : exe.parent_path();
}

bool isDir(const std::filesystem::path& p)
{
    std::error_code ec;
    return !p.empty() && std::filesystem::is_directory(p, ec);
}

} // namespace

std::filesystem::path dataDir()
{
    if (const char* env = std::getenv("ZIB_DATA_DIR"); env && *env && isDir(env)) return env;
    auto exe = executableDir();
    if (!exe.empty()) {
        if (auto p = exe / ".." / "share" / "zib" / "data"; isDir(p)) return p.lexically_normal();
        if (auto p = exe / "data"; isDir(p)) return p;
    }
    return ZIB_SOURCE_DATA_DIR;
}

std::filesystem::path dataFile(const std::filesystem::path& name)
{
    return dataDir() / name;
}

} // namespace zib
