#include "app/core/BackgroundTiles.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace zib;

TEST(BackgroundTiles, CopiesCoverTheArea)
{
    using P = std::vector<std::pair<int, int>>;
    EXPECT_EQ(TileOrigins(64, 64, 130, 64), (P{{0, 0}, {64, 0}, {128, 0}}));
    EXPECT_EQ(TileOrigins(64, 32, 64, 65), (P{{0, 0}, {0, 32}, {0, 64}}));
    EXPECT_EQ(TileOrigins(500, 500, 100, 100), (P{{0, 0}})); // larger than the area: drawn once
    EXPECT_EQ(TileOrigins(0, 10, 100, 100), P{});
    EXPECT_EQ(TileOrigins(10, 10, 0, 0), (P{{0, 0}}));
}
