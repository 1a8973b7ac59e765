#pragma once

#include <cstring>
#include <fstream>
#include <string>

namespace zib::test {

// A memory figure of this process from /proc/self/status ("VmRSS:" now,
// "VmHWM:" the high-water mark), in bytes; 0 when the system has none
inline long processMemory(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::strlen(field))) * 1024;
    return 0;
}

} // namespace zib::test
