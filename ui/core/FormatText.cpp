#include "ui/core/FormatText.h"

#include <vector>

namespace zib {

std::string FormatText(std::string_view format, std::initializer_list<std::string_view> args)
{
    std::vector<std::string_view> list(args);
    std::string out;
    size_t next = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            out += format[i];
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        // Flags and width, then the length modifier and the conversion letter.
        size_t j = i + 1;
        bool left = false;
        if (j < format.size() && format[j] == '-') {
            left = true;
            ++j;
        }
        size_t width = 0;
        while (j < format.size() && format[j] >= '0' && format[j] <= '9')
            width = width * 10 + size_t(format[j++] - '0');
        while (j < format.size() && format[j] == 'l')
            ++j;
        if (j >= format.size() || std::string_view("sdui").find(format[j]) == std::string_view::npos) {
            out += format[i]; // not a conversion: kept as written
            continue;
        }
        std::string_view arg = next < list.size() ? list[next] : std::string_view();
        ++next;
        std::string pad(width > arg.size() ? width - arg.size() : 0, ' ');
        out += left ? std::string(arg) + pad : pad + std::string(arg);
        i = j;
    }
    return out;
}

} // namespace zib
