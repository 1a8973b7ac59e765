#include "ui/core/ViewerText.h"

#include "ui/core/CommandFileReader.h"
#include "platform/Cp1252.h"

#include <string_view>

namespace zib {

std::optional<std::string> ReadViewerText(const std::filesystem::path& path, uint64_t maxSize)
{
    // A short read fails as a whole: the viewer never shows bytes that were not read.
    CommandFile file = ReadFileForCommand(path, maxSize);
    if (!file.ok()) return std::nullopt;
    std::string_view bytes(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size());
    bytes = bytes.substr(0, bytes.find('\0'));
    return cp1252ToUtf8(bytes);
}

} // namespace zib
