#pragma once

#include <string>
#include <string_view>

namespace zib {

// Texts inside keyboard and MIDI files are single-byte Windows-1252. The model
// keeps them as bytes; these convert where text meets the screen or the file
// system. The five bytes that Windows-1252 leaves undefined (81, 8D, 8F, 90,
// 9D) map to the control characters of the same number, so every byte
// round-trips.
std::string cp1252ToUtf8(std::string_view bytes);

// Characters that Windows-1252 cannot hold become '?'; malformed UTF-8 bytes too.
std::string utf8ToCp1252(std::string_view utf8);

} // namespace zib
