#include "app/core/ExternalPlayerCommand.h"

namespace zib {

std::vector<std::string> ExternalPlayerArgs(std::string_view command, std::string_view path)
{
    std::vector<std::string> args;
    std::string current;
    bool inArg = false;
    char quote = 0;
    for (char c : command) {
        if (quote) {
            if (c == quote)
                quote = 0;
            else
                current += c;
        } else if (c == '"' || c == '\'') {
            quote = c;
            inArg = true;
        } else if (c == ' ' || c == '\t' || c == '\n') {
            if (inArg) args.push_back(std::move(current));
            current.clear();
            inArg = false;
        } else {
            current += c;
            inArg = true;
        }
    }
    if (inArg) args.push_back(std::move(current));
    if (args.empty()) return args;

    bool substituted = false;
    for (auto& a : args) {
        std::string out;
        for (size_t i = 0; i < a.size(); ++i) {
            if (a[i] == '%' && i + 1 < a.size() && a[i + 1] == 's') {
                out += path;
                ++i;
                substituted = true;
            } else {
                out += a[i];
            }
        }
        a = std::move(out);
    }
    if (!substituted) args.emplace_back(path);
    return args;
}

} // namespace zib
