#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace zib::test {

// The folder of real-world input files, or an empty path when it is absent
// (tests then skip themselves; in CI the absence fails the test).
std::filesystem::path realFixturesDir();

// Regular files in realFixturesDir()/subdir, sorted by name; empty when absent.
std::vector<std::filesystem::path> realFixtureFiles(const std::string& subdir);
// Those of them with the extension `extension` (".prs", in the case given);
// empty when none has it (tests then skip themselves; in CI that fails the test).
std::vector<std::filesystem::path> realFixtureFiles(const std::string& subdir, const std::string& extension);

std::vector<uint8_t> readFileBytes(const std::filesystem::path& path);

} // namespace zib::test
