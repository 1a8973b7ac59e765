#include "ui/core/FileFilters.h"

#include "ui/core/AsciiCase.h"

#include <vector>

namespace zib {

namespace {

std::string caseVariants(std::string_view patterns)
{
    std::vector<std::string> out;
    auto add = [&out](std::string p) {
        for (const auto& o : out)
            if (o == p) return;
        out.push_back(std::move(p));
    };
    while (true) {
        size_t semi = patterns.find(';');
        const std::string_view p = patterns.substr(0, semi);
        add(UpperAscii(p));
        add(LowerAscii(p));
        if (semi == std::string_view::npos) break;
        patterns = patterns.substr(semi + 1);
    }
    std::string joined;
    for (const auto& p : out)
        joined += (joined.empty() ? "" : ";") + p;
    return joined;
}

} // namespace

std::string CaseInsensitiveFilter(std::string_view filter)
{
    while (filter.size() >= 1 && filter.back() == '|')
        filter.remove_suffix(1);
    std::string out;
    size_t field = 0;
    while (true) {
        size_t bar = filter.find('|');
        std::string_view part = filter.substr(0, bar);
        if (field > 0) out += '|';
        out += field % 2 == 1 ? caseVariants(part) : std::string(part);
        ++field;
        if (bar == std::string_view::npos) break;
        filter = filter.substr(bar + 1);
    }
    return out;
}

} // namespace zib
