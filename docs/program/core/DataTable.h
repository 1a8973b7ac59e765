#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

// The rows of a data table in data/names/: `row` gets the line number and
// the text of every line that is neither empty nor a comment ('#'); "\r\n"
// line ends are fine.
template <class Row> void ForEachDataLine(std::string_view text, Row&& row)
{
    int lineNumber = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty() && line.front() != '#') row(lineNumber, line);
    }
}

// The text of a data table file; nullopt, with "cannot read <path>" added
// to `problems`, when it cannot be read.
std::optional<std::string> ReadDataTable(const std::filesystem::path& path,
                                         std::vector<std::string>& problems);

} // namespace zib
