#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zib {

// The argument list of the external MIDI player for one file. The command
// line is split at blanks; double or single quotes keep blanks inside one
// argument. Every "%s" in an argument becomes the file's path (the path stays
// one argument, whatever it holds); without any "%s" the path is added as the
// last argument. An empty command gives an empty list (nothing to start).
std::vector<std::string> ExternalPlayerArgs(std::string_view command, std::string_view path);

} // namespace zib
