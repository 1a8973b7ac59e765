#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace zib {

// printf-style formatting of the program's own texts, safe for translated
// formats: the i-th conversion (%s, %d, %u, %ld, %lu, with an optional width
// such as %3d or %-12s) takes the i-th argument, already formatted by the
// caller as text; "%%" is a percent sign. A conversion without an argument
// becomes empty text; extra arguments are ignored.
std::string FormatText(std::string_view format, std::initializer_list<std::string_view> args);

} // namespace zib
