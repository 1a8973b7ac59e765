#pragma once

#include "platform/FileIo.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

// Paths of the keyboard documents (UTF-8).

// The folder of a file: everything before its last '/', or "" without one.
std::string FolderOf(std::string_view path);
// The last `n` characters of `text`, upper-cased (ASCII): the extension tests.
std::string UpperTail(std::string_view text, size_t n);
// A file beside `path` named like it with the extension `ext` ("sty", "pcg"),
// found whatever the case of its name: "Set.ARR" finds "set.STY". nullopt
// when `path` has no extension or no such file exists.
std::optional<std::string> FindSiblingIgnoringCase(std::string_view path, std::string_view ext);
// `folder` and `name` joined by one '/' ("" folder: the name alone).
std::string JoinPath(std::string_view folder, std::string_view name);

// Reads at most `limit` bytes from the start of the file: a file larger than
// what its format can hold is never read whole.
FileIoError ReadFilePrefix(const std::string& path, size_t limit, std::vector<uint8_t>& out);

} // namespace zib
