#include "tests/support/RealFixtures.h"
#include "tests/support/BuildPaths.h"

#include "tests/support/CiRun.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace zib::test {

std::filesystem::path realFixturesDir()
{
    std::filesystem::path dir(FixturesDir());
    std::error_code ec;
    if (std::filesystem::is_directory(dir, ec)) return dir;
    reportMissingInCi("the real-fixture folder " + dir.string());
    return {};
}

std::vector<std::filesystem::path> realFixtureFiles(const std::string& subdir)
{
    std::vector<std::filesystem::path> files;
    auto root = realFixturesDir();
    std::error_code ec;
    if (root.empty()) return files;
    if (!std::filesystem::is_directory(root / subdir, ec)) {
        reportMissingInCi("the real-fixture folder " + (root / subdir).string());
        return files;
    }
    for (const auto& entry : std::filesystem::directory_iterator(root / subdir))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    if (files.empty()) reportMissingInCi("every file of " + (root / subdir).string());
    return files;
}

std::vector<std::filesystem::path> realFixtureFiles(const std::string& subdir, const std::string& extension)
{
    const std::vector<std::filesystem::path> all = realFixtureFiles(subdir);
    std::vector<std::filesystem::path> files;
    for (const auto& path : all)
        if (path.extension() == extension) files.push_back(path);
    // A folder that is missing or empty was reported already.
    if (files.empty() && !all.empty())
        reportMissingInCi("a " + extension + " file in " + all.front().parent_path().string());
    return files;
}

std::vector<uint8_t> readFileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace zib::test
