#include "tests/support/BuildPaths.h"

namespace zib::test {

const std::filesystem::path& SourceDir()
{
    static const std::filesystem::path dir(ZIB_SOURCE_DIR);
    return dir;
}

const std::filesystem::path& BinaryDir()
{
    static const std::filesystem::path dir(ZIB_BINARY_DIR);
    return dir;
}

const std::filesystem::path& FixturesDir()
{
    static const std::filesystem::path dir(ZIB_FIXTURES_DIR);
    return dir;
}

std::string BuildFile(const char* relative)
{
    if (!relative || !*relative) return std::string();
    return (BinaryDir() / relative).string();
}

} // namespace zib::test
