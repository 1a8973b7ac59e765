#pragma once

#include <filesystem>

namespace zib {

// The running program's own file, from /proc/self/exe; empty when unknown.
std::filesystem::path executablePath();

// The folder that holds the program file, without a trailing separator.
std::filesystem::path executableDir();

} // namespace zib
