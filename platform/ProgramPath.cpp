#include "platform/ProgramPath.h"

#include <system_error>

namespace zib {

std::filesystem::path executablePath()
{
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : exe;
}

std::filesystem::path executableDir()
{
    return executablePath().parent_path();
}

} // namespace zib
