#include "devices/core/InsNameArray.h"

namespace zib {

std::string NumberInsNames(InsNameArray& names, int first, int second)
{
    int a = first, b = second;
    if (b < 127) b = 127;
    if (b > 128) b = 128;
    if (a < b) {
        a = b == 128 ? 1 : 0;
    } else {
        a = 1;
        b = 128;
    }
    for (int i = 0; i < 128; ++i)
        names[size_t(i)] = std::to_string(a == 1 ? i + 1 : i);
    return std::to_string(a) + ".." + std::to_string(b);
}

} // namespace zib
