#include "docs/program/core/DataTable.h"

#include "platform/FileIo.h"

namespace zib {

std::optional<std::string> ReadDataTable(const std::filesystem::path& path,
                                         std::vector<std::string>& problems)
{
    std::vector<uint8_t> bytes;
    if (readWholeFile(path, bytes, 1 << 20) != FileIoError::None) {
        problems.push_back("cannot read " + path.string());
        return std::nullopt;
    }
    return std::string(bytes.begin(), bytes.end());
}

} // namespace zib
