#pragma once

#include <filesystem>
#include <string>

namespace zib::test {

// Where this build keeps its sources, its build tree and the real-world
// fixtures. The compile commands name no folder of the checkout: only this
// file's source knows them, so a build in another folder finds every other
// object in the compiler cache.
const std::filesystem::path& SourceDir();
const std::filesystem::path& BinaryDir();
const std::filesystem::path& FixturesDir();

// A file of the build tree named relative to it (a program or library of
// the build, as CMake passes it to a test); "" stays "".
std::string BuildFile(const char* relative);

} // namespace zib::test
