#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace zib {

// The text a text viewer shows for a file: its bytes up to the first zero
// byte, as Windows-1252 converted to UTF-8. nullopt when the file cannot be
// opened, sized, held (larger than maxSize) or read whole. The 64 MB limit
// is kept on purpose: logs are far smaller, and a huge file would stall the view.
std::optional<std::string> ReadViewerText(const std::filesystem::path& path, uint64_t maxSize = uint64_t(64)
                                                                                                << 20);

} // namespace zib
