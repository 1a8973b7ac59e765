// The Wq8-to-Wq41/WqR65 sound maps: the data files' rows and their loader.
#include "docs/program/core/Wq8SoundMap.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

TEST(Wq8SoundMap, BuiltInMapsHoldEveryRowAndTheKnownConversions)
{
    const Wq8SoundMap& sounds = builtInWq8SoundMap();
    const Wq8SoundMap& drums = builtInWq8DrumSoundMap();
    EXPECT_TRUE(sounds.Problems().empty()) << sounds.Problems().front();
    EXPECT_TRUE(drums.Problems().empty()) << drums.Problems().front();
    ASSERT_EQ(sounds.Rows().size(), 341u);
    ASSERT_EQ(drums.Rows().size(), 165u);
    for (size_t n = 0; n < sounds.Rows().size(); ++n)
        EXPECT_EQ(sounds.Rows()[n].wq8Number, n);

    struct Case {
        const Wq8SoundMap* map;
        uint16_t wq8;
        uint16_t converted;
    };
    const Case cases[] = {
        {&sounds, 0, 0},   {&sounds, 1, 2},   {&sounds, 2, 3},   {&sounds, 3, 10},  {&sounds, 340, 6},
        {&drums, 0, 0},    {&drums, 161, 363}, {&drums, 164, 405},
        {&sounds, 341, 341}, {&drums, 165, 165}, {&drums, 0xFFFF, 0xFFFF}, // numbers no row holds stay
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.map->Convert(c.wq8), c.converted) << c.wq8;
    EXPECT_EQ(drums.Rows()[0].wq8Name, "OFF");
}

TEST(Wq8SoundMap, LoaderKeepsGoodRowsAndReportsTheRest)
{
    struct Case {
        const char* text;
        size_t rows;
        size_t problems;
    };
    const Case cases[] = {
        {"# comment\nsound\t0\tA\t5\tB\nsound\t1\tC\t6\tD\r\n", 2, 0},
        {"sound\t0\tA\t5\tB\n", 1, 1},                                          // row 1 missing
        {"sound\t1\tA\t5\tB\nsound\t0\tA\t5\tB\nsound\t1\tC\t6\tD\n", 2, 1}, // row out of order
        {"sound\t0\tA\t5\nsound\t0\tA\tx\tB\nsound\t0\tA\t5\tB\nsound\t1\tC\t6\tD\n", 2, 2},
        {"sound\t0\tA name of seventeen\t5\tB\nsound\t0\tA\t5\tB\nsound\t1\tC\t6\tD\n", 2, 1},
        {"sound\t0\tA\t5\tB\nsound\t1\tC\t6\tD\nsound\t2\tE\t7\tF\n", 2, 1}, // more rows than the map has
        {"drum\t0\tA\t9\tB\nsound\t0\tA\t5\tB\nsound\t1\tC\t6\tD\n", 2, 0},   // the other map's rows
        {"tone\t0\tA\t5\tB\nsound\t0\tA\t5\tB\nsound\t1\tC\t6\tD\n", 2, 1},   // no such map
    };
    for (const Case& c : cases) {
        Wq8SoundMap map(Wq8SoundMap::Kind::Sound, 2);
        map.LoadText(c.text);
        EXPECT_EQ(map.Rows().size(), c.rows) << c.text;
        EXPECT_EQ(map.Problems().size(), c.problems) << c.text;
    }
    Wq8SoundMap map(Wq8SoundMap::Kind::Drum, 2);
    map.LoadText("sound\t0\tA\t9\tB\nsound\t1\tA\t9\tB\ndrum\t0\tA\t5\tB\ndrum\t1\tC\t6\tD\n");
    EXPECT_EQ(map.Convert(1), 6);
}

TEST(Wq8SoundMap, AMissingFileIsAProblemAndConvertsNothing)
{
    const Wq8SoundMap map = Wq8SoundMap::LoadFile("/nonexistent/zib/map.tsv", Wq8SoundMap::Kind::Sound);
    EXPECT_FALSE(map.Problems().empty());
    EXPECT_EQ(map.Convert(1), 1);
}

} // namespace
} // namespace zib
