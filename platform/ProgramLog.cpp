#include "platform/ProgramLog.h"

#include <cstdio>
#include <string>

namespace zib {

void WriteProgramLog(std::string_view text)
{
    std::string line = "zib: ";
    line.append(text);
    line += '\n';
    // One write per line, so lines of several threads do not interleave.
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

} // namespace zib
