#include "tests/support/GlobalFileBuilder.h"

#include <cstddef>

namespace zib::test {

namespace {

std::vector<uint8_t> image(int model, std::size_t size, uint8_t fill)
{
    std::vector<uint8_t> out(size, fill);
    for (std::size_t i = 0; i < 32; ++i)
        out[i] = uint8_t(0xC0 + i);
    out[0] = 'D';
    out[1] = 'A';
    out[2] = 'S';
    out[3] = 'K';
    out[4] = uint8_t(model);
    return out;
}

} // namespace

std::vector<uint8_t> argImage(int model, uint8_t fill)
{
    return image(model, 80, fill);
}

std::vector<uint8_t> gblImage(int model, uint8_t fill)
{
    return image(model, 448, fill);
}

} // namespace zib::test
