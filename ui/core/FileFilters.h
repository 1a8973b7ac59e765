#pragma once

#include <string>
#include <string_view>

namespace zib {

// A file-dialog filter "Name|*.EXT|Name|*.A;*.B||" in the form the dialogs
// take here ("Name|patterns|Name|patterns"): file names on this system are
// case-sensitive, so each pattern is offered in upper and lower case
// ("*.MID" becomes "*.MID;*.mid"). The trailing "||" is dropped.
std::string CaseInsensitiveFilter(std::string_view filter);

// The Open command's filter, names in English: MIDI, style, program,
// performance, pad, arrangement, global and arrangement global files.
inline constexpr std::string_view kOpenFilter =
    "MIDI Files (*.MID)|*.MID|Style Files (*.STY)|*.STY|Program Files (*.PCG;*.PRG)|*.PCG;*.PRG|"
    "Performance Files (*.PRF)|*.PRF|Pad Files (*.PAD)|*.PAD|Arrangement Files (*.ARR)|*.ARR|"
    "Global Data Files (*.GBL)|*.GBL|Arrangement Global Data Files (*.ARG)|*.ARG||";
inline constexpr std::string_view kCollectFilter = "MIDI files (*.MID)|*.MID||";
inline constexpr std::string_view kYamahaFilter =
    "Yamaha Styles (*.sty; *.pcs; *.prs; *.sst; *.bcs)|*.STY;*.PCS;*.PRS;*.SST;*.BCS||";

// The filter with each name passed through `translate` (UI texts).
template <class Translate> std::string TranslatedFilter(std::string_view filter, Translate&& translate)
{
    std::string out;
    size_t field = 0;
    while (!filter.empty()) {
        size_t bar = filter.find('|');
        std::string_view part = filter.substr(0, bar);
        if (!out.empty() || field > 0) out += '|';
        out += field % 2 == 0 && !part.empty() ? std::string(translate(part)) : std::string(part);
        ++field;
        if (bar == std::string_view::npos) break;
        filter = filter.substr(bar + 1);
    }
    return out;
}

} // namespace zib
