#pragma once

#include <utility>
#include <vector>

namespace zib {

// Where copies of a w x h bitmap go to cover an area: x = 0, w, 2w ... and
// y = 0, h, 2h ... until the area is covered. A bitmap larger than the area
// is drawn once (clipped); an empty bitmap is not drawn.
std::vector<std::pair<int, int>> TileOrigins(int width, int height, int areaWidth, int areaHeight);

} // namespace zib
