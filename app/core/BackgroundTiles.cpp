#include "app/core/BackgroundTiles.h"

namespace zib {

std::vector<std::pair<int, int>> TileOrigins(int width, int height, int areaWidth, int areaHeight)
{
    std::vector<std::pair<int, int>> origins;
    if (width <= 0 || height <= 0) return origins;
    for (int y = 0; y == 0 || y < areaHeight; y += height)
        for (int x = 0; x == 0 || x < areaWidth; x += width)
            origins.emplace_back(x, y);
    return origins;
}

} // namespace zib
