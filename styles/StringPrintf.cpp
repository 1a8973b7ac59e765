#include "styles/StringPrintf.h"

#include <cstdio>

namespace zib {

std::string StringPrintfV(const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    char small[256];
    int n = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (n < 0) return {};
    if (size_t(n) < sizeof small) return std::string(small, size_t(n));
    std::string out(size_t(n) + 1, '\0');
    std::vsnprintf(out.data(), out.size(), format, args);
    out.resize(size_t(n));
    return out;
}

std::string StringPrintf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string out = StringPrintfV(format, args);
    va_end(args);
    return out;
}

} // namespace zib
