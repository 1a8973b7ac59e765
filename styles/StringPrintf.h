#pragma once

#include <cstdarg>
#include <string>

namespace zib {

// printf-style formatting into a std::string. The format must be a literal
// (checked by the compiler): user text goes in through "%s", never as a format.
std::string StringPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string StringPrintfV(const char* format, va_list args) __attribute__((format(printf, 1, 0)));

} // namespace zib
