#include "docs/program/core/Wq41FunctionTable.h"

#include "platform/Cp1252.h"
#include "platform/DataDir.h"
#include "platform/FileIo.h"

#include <charconv>

namespace zib {

std::string Wq41FunctionTable::Name(int code) const
{
    return code >= 0 && code < int(names_.size()) ? names_[size_t(code)] : "???";
}

void Wq41FunctionTable::LoadText(std::string_view text)
{
    int lineNumber = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        const size_t tab = line.find('\t');
        int code = -1;
        const auto [ptr, error] = std::from_chars(line.data(), line.data() + (tab == std::string_view::npos ? 0 : tab), code);
        const std::string name = tab == std::string_view::npos ? std::string() : utf8ToCp1252(line.substr(tab + 1));
        if (tab == std::string_view::npos || error != std::errc() || ptr != line.data() + tab || name.empty() ||
            name.size() > 25) {
            problems_.push_back("line " + std::to_string(lineNumber) + ": not \"code, name\" of 25 characters at most");
            continue;
        }
        if (code != int(names_.size()) || code >= kCount) {
            problems_.push_back("line " + std::to_string(lineNumber) + ": code " + std::to_string(code) +
                                " out of order");
            continue;
        }
        names_.push_back(name);
    }
    if (int(names_.size()) < kCount)
        problems_.push_back("codes " + std::to_string(names_.size()) + " to 64 are missing");
}

Wq41FunctionTable Wq41FunctionTable::LoadFile(const std::filesystem::path& path)
{
    Wq41FunctionTable table;
    std::vector<uint8_t> bytes;
    if (readWholeFile(path, bytes, 1 << 20) != FileIoError::None) {
        table.problems_.push_back("cannot read " + path.string());
        return table;
    }
    table.LoadText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return table;
}

const Wq41FunctionTable& builtInWq41Functions()
{
    static const Wq41FunctionTable table = Wq41FunctionTable::LoadFile(dataFile(Wq41FunctionTable::kFile));
    return table;
}

} // namespace zib
