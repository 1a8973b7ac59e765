#include "mididoc/core/PositionEditBModel.h"
#include "mididoc/core/PositionEditAModel.h"
#include "mididoc/core/SpinEditModel.h"
#include "tests/support/UniformMeasureContext.h"

#include <gtest/gtest.h>

using namespace zib;
using zib::test::UniformMeasureContext;

namespace {
const UniformMeasureContext fourFour; // 480 ticks per bar
constexpr uint32_t kBar = 480;
} // namespace

TEST(PositionEditB, RefusesTheThousandthMeasureWhenTypingAndSpinning)
{
    PositionEditBModel field(0, &fourFour);
    EXPECT_EQ(field.StartText(), "  1:01:000");
    EXPECT_FALSE(field.TextChanged("999"));
    EXPECT_EQ(field.Tick(), 998 * kBar);

    const auto typed = field.TextChanged("1000");
    ASSERT_TRUE(typed);
    EXPECT_EQ(typed->text, "100");
    EXPECT_TRUE(typed->bell);
    EXPECT_EQ(field.Tick(), 99 * kBar);

    // A beat past the end of the 999th measure is the 1000th measure too.
    EXPECT_TRUE(field.TextChanged("999:5:0"));

    const uint32_t last = 999 * kBar - 1;
    const auto atEnd = field.Spin(+1, FormatPositionText(fourFour.FromTick(last)));
    EXPECT_TRUE(atEnd.bell);
    EXPECT_EQ(atEnd.text, "999:04:119");
    const auto down = field.Spin(-1, "1:1:0");
    EXPECT_FALSE(down.bell);
    EXPECT_EQ(down.text, "  1:01:000");
}

TEST(PositionEditB, CutsAtForeignCharactersAndNormalisesOnOk)
{
    PositionEditBModel field(0, &fourFour);
    const auto cut = field.TextChanged("12:3x4");
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->text, "12:3");
    EXPECT_FALSE(cut->bell);
    EXPECT_FALSE(PositionEditBModel::AcceptsChar('x'));
    EXPECT_TRUE(PositionEditBModel::AcceptsChar(':'));

    // 12 is measure 12; 0:0:0 and 1:1:0 both the first tick; 1:5:0 runs into bar 2.
    EXPECT_EQ(field.GetPosition("12").tick, 11 * kBar);
    EXPECT_EQ(field.GetPosition("0:0:0").tick, 0u);
    EXPECT_EQ(field.GetPosition("1:1:0").tick, 0u);
    EXPECT_EQ(FormatPositionText(field.GetPosition("1:5:0")), "  2:01:000");
    PositionEditBModel noMap(500, nullptr);
    EXPECT_EQ(noMap.GetPosition("3:1:0").tick, 0u);
}

TEST(PositionEditA, EscapeRestoresAndEnterCommits)
{
    PositionEditAModel from(PositionEditAModel::Mode::From);
    EXPECT_EQ(from.FocusGained(kBar, fourFour), "  2:01:000");
    from.Cancel();
    const auto cancelled = from.FocusLost("9:1:0", fourFour);
    EXPECT_EQ(cancelled.text, "  2:01:000");
    EXPECT_FALSE(cancelled.tick);

    from.FocusGained(kBar, fourFour);
    const auto committed = from.FocusLost("1:5:0", fourFour);
    EXPECT_EQ(committed.text, "  2:01:000");
    EXPECT_EQ(committed.tick, kBar);
    EXPECT_EQ(from.Spin(-1, "1:1:0", fourFour), "  1:01:000");
    EXPECT_EQ(from.Spin(+1, "1:1:0", fourFour), "  1:01:001");
    EXPECT_FALSE(PositionEditAModel::AcceptsChar('q'));
}

TEST(SpinEdit, TempoFieldRefusesValuesThatDoNotFitAndKeepsTheOld)
{
    SpinEditModel tempo;
    EXPECT_EQ(tempo.Text(), "120");
    const struct {
        const char* typed;
        const char* shown;
        int value;
        bool set;
    } cases[] = {
        {"90", "90", 90, true},  {"1", "90", 90, false},  {"3", "90", 90, false}, {"4", "4", 4, true},
        {"241", "4", 4, false},  {"240", "240", 240, true}, {"0", "240", 240, false}, {"", "240", 240, false},
    };
    for (const auto& c : cases) {
        const auto commit = tempo.FocusLost(c.typed);
        EXPECT_EQ(commit.text, c.shown) << c.typed;
        EXPECT_EQ(tempo.Value(), c.value) << c.typed;
        EXPECT_EQ(commit.tempo.has_value(), c.set) << c.typed;
    }
    EXPECT_EQ(tempo.Spin(+1, "240"), "240");
    EXPECT_EQ(tempo.Spin(-1, "4"), "4");
    EXPECT_EQ(tempo.Spin(-1, "2"), "4") << "a text that does not fit leaves the old value";
}
