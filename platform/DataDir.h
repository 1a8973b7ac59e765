#pragma once

#include <filesystem>

namespace zib {

// The folder of the data files the program loads (name tables, sound tables).
// Looked up in order: $ZIB_DATA_DIR; <folder of the executable>/../share/zib/data
// (installed layout); <folder of the executable>/data; the source tree's data/
// folder this build came from. A user can replace the files in the first
// folder that exists.
std::filesystem::path dataDir();

// dataDir() / name
std::filesystem::path dataFile(const std::filesystem::path& name);

} // namespace zib
