#include "platform/WxText.h"

#include "platform/Cp1252.h"

namespace zib {

wxString wxFromCp1252(std::string_view bytes)
{
    return wxFromUtf8(cp1252ToUtf8(bytes));
}

std::string wxToCp1252(const wxString& text)
{
    return utf8ToCp1252(wxToUtf8(text));
}

} // namespace zib
