#include "docs/style/core/WqEmptyStyle.h"

#include "docs/style/core/CItemInfo.h"

#include <cstring>

namespace zib {

std::vector<uint8_t> WqEmptyStyleImage(uint32_t model, int listIndex)
{
    const bool familyB = IsWqFamilyB(model);
    const size_t shift = familyB ? 8 : 0;
    std::vector<uint8_t> image(1168 + shift, 0);
    if (familyB) {
        std::memcpy(image.data(), "InitStyle       ", 16);
        image[9] = uint8_t('1' + (listIndex % 4 + 4) % 4);
    } else {
        std::memcpy(image.data(), "empty     ", 10);
    }
    auto put16 = [&image](size_t at, uint16_t v) {
        image[at] = uint8_t(v);
        image[at + 1] = uint8_t(v >> 8);
    };
    for (size_t i = 0; i < 100; ++i)
        put16(334 + shift + 2 * i, 1043);
    for (size_t i = 0; i < 317; ++i)
        put16(534 + shift + 2 * i, uint16_t(1168 + shift));
    return image;
}

} // namespace zib
