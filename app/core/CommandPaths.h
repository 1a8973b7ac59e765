#pragma once

#include <string>
#include <string_view>

namespace zib {

// Paths the heavy application commands build from the file the user chose.
// They never depend on the process's current folder.

// The folder of a chosen path, without the trailing '/'; `fallback` when the
// path names no folder.
std::string FolderOfPath(std::string_view path, std::string_view fallback);

// The file name of a path (the text after its last '/').
std::string_view FileNameOfPath(std::string_view path);

// `folder` + "/" + `name` ("/" alone when the folder is empty).
std::string PathInFolder(std::string_view folder, std::string_view name);

// Log files of the two collections and the PSR conversion.
inline constexpr std::string_view kCollectWqLogName = "CollectCVMidi.txt";
inline constexpr std::string_view kCollectQeLogName = "CollectQeCVMidi.txt";
inline constexpr std::string_view kPsrDumpLogName = "YamahaStyToQeStyDump.txt";

} // namespace zib
