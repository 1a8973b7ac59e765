#include "docs/program/core/Wq41FunctionTable.h"

#include "docs/program/core/DataTable.h"
#include "platform/Cp1252.h"
#include "platform/DataDir.h"

#include <charconv>

namespace zib {

std::string Wq41FunctionTable::Name(int code) const
{
    return code >= 0 && code < int(names_.size()) ? names_[size_t(code)] : "???";
}

void Wq41FunctionTable::LoadText(std::string_view text)
{
    ForEachDataLine(text, [this](int lineNumber, std::string_view line) {
        const size_t tab = line.find('\t');
        int code = -1;
        const auto [ptr, error] = std::from_chars(line.data(), line.data() + (tab == std::string_view::npos ? 0 : tab), code);
        const std::string name = tab == std::string_view::npos ? std::string() : utf8ToCp1252(line.substr(tab + 1));
        if (tab == std::string_view::npos || error != std::errc() || ptr != line.data() + tab || name.empty() ||
            name.size() > 25) {
            problems_.push_back("line " + std::to_string(lineNumber) + ": not \"code, name\" of 25 characters at most");
            return;
        }
        if (code != int(names_.size()) || code >= kCount) {
            problems_.push_back("line " + std::to_string(lineNumber) + ": code " + std::to_string(code) +
                                " out of order");
            return;
        }
        names_.push_back(name);
    });
    if (int(names_.size()) < kCount)
        problems_.push_back("codes " + std::to_string(names_.size()) + " to 64 are missing");
}

Wq41FunctionTable Wq41FunctionTable::LoadFile(const std::filesystem::path& path)
{
    Wq41FunctionTable table;
    if (const auto text = ReadDataTable(path, table.problems_)) table.LoadText(*text);
    return table;
}

const Wq41FunctionTable& builtInWq41Functions()
{
    static const Wq41FunctionTable table = Wq41FunctionTable::LoadFile(dataFile(Wq41FunctionTable::kFile));
    return table;
}

} // namespace zib
