#pragma once

#include <string>
#include <string_view>

namespace zib {

// Letter case of ASCII texts (file extensions, pattern lists), as the program
// compares them; bytes outside A-Z and a-z stay as they are.
constexpr char ToLowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

constexpr char ToUpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

inline std::string LowerAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = ToLowerAscii(c);
    return out;
}

inline std::string UpperAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = ToUpperAscii(c);
    return out;
}

constexpr bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (ToLowerAscii(a[i]) != ToLowerAscii(b[i])) return false;
    return true;
}

} // namespace zib
