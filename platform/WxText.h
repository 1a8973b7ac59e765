#pragma once

#include <string>
#include <string_view>
#include <wx/string.h>

namespace zib {

// Windows-1252 bytes of the model shown on screen, and typed text stored back.
wxString wxFromCp1252(std::string_view bytes);
std::string wxToCp1252(const wxString& text);

// UTF-8 texts of the program itself (messages, captions, paths).
inline wxString wxFromUtf8(std::string_view utf8)
{
    return wxString::FromUTF8(utf8.data(), utf8.size());
}
inline std::string wxToUtf8(const wxString& text)
{
    return std::string(text.utf8_str());
}

} // namespace zib
