#include "ui/core/CustomDrawHandler.h"

#include <gtest/gtest.h>
#include <vector>

using namespace zib;

namespace {

struct FakeFont {
    int id;
};

// A drawing context that records font selections.
struct FakeDc {
    FakeFont* current = nullptr;
    std::vector<int> selections;
    FakeFont* SelectFont(FakeFont* f)
    {
        selections.push_back(f ? f->id : -1);
        return std::exchange(current, f);
    }
};

using Handler = CustomDrawHandler<FakeDc, FakeFont>;

struct DrawRun {
    FakeDc dc;
    int made = 0;
    uint32_t operator()(Handler& h, CustomDrawStage stage, long item = 0, int subItem = 0)
    {
        CustomDrawNotification n;
        n.stage = stage;
        n.item = item;
        n.subItem = subItem;
        last = n;
        uint32_t r = h.HandleCustomDraw(last, [this]() -> FakeDc& {
            ++made;
            return dc;
        });
        return r;
    }
    CustomDrawNotification last;
};

} // namespace

TEST(CustomDrawHandler, OverridingNothingDrawsLikeThePlainControl)
{
    Handler plain;
    DrawRun run;
    for (auto stage : {CustomDrawStage::PrePaint, CustomDrawStage::PostPaint, CustomDrawStage::ItemPrePaint,
                       CustomDrawStage::ItemPostPaint, CustomDrawStage::SubItemPrePaint,
                       CustomDrawStage::SubItemPostPaint, CustomDrawStage::Other}) {
        EXPECT_EQ(run(plain, stage), kCdrfDoDefault) << int(stage);
        EXPECT_EQ(run.last.textColor, kClrDefault);
        EXPECT_EQ(run.last.backColor, kClrDefault);
    }
    EXPECT_EQ(run.made, 0); // no drawing context was needed
}

TEST(CustomDrawHandler, RowColoursAndCellRequests)
{
    struct Rows : Handler {
        bool WantsItemNotifications() override { return true; }
        uint32_t ItemTextColor(long item, uint32_t, intptr_t) override
        {
            return item == 2 ? kClrDefault : 0x0000FF;
        }
        bool WantsCellNotifications(long item, uint32_t, intptr_t) override { return item == 1; }
        uint32_t CellBackColor(long, int subItem, uint32_t, intptr_t) override
        {
            return 0x100 + uint32_t(subItem);
        }
    } rows;
    DrawRun run;
    EXPECT_EQ(run(rows, CustomDrawStage::PrePaint), kCdrfNotifyItemDraw);
    EXPECT_EQ(run(rows, CustomDrawStage::ItemPrePaint, 0), kCdrfDoDefault);
    EXPECT_EQ(run.last.textColor, 0x0000FFu);
    run(rows, CustomDrawStage::ItemPrePaint, 2);
    EXPECT_EQ(run.last.textColor, kClrDefault); // that row keeps the control's colour
    EXPECT_EQ(run(rows, CustomDrawStage::ItemPrePaint, 1), kCdrfNotifySubItemDraw);
    run(rows, CustomDrawStage::SubItemPrePaint, 1, 3);
    EXPECT_EQ(run.last.backColor, 0x103u);
    EXPECT_EQ(run.last.textColor, kClrDefault);
}

TEST(CustomDrawHandler, AFontIsRestoredAfterItsRowAndCell)
{
    struct Fonts : Handler {
        FakeFont bold{7}, italic{8};
        FakeFont* ItemFont(long item, uint32_t, intptr_t) override { return item == 3 ? &bold : nullptr; }
        FakeFont* CellFont(long, int subItem, uint32_t, intptr_t) override
        {
            return subItem == 1 ? &italic : nullptr;
        }
    } fonts;
    DrawRun run;
    FakeFont original{1};
    run.dc.current = &original;
    EXPECT_EQ(run(fonts, CustomDrawStage::ItemPrePaint, 2), kCdrfDoDefault);
    EXPECT_EQ(run(fonts, CustomDrawStage::ItemPrePaint, 3), kCdrfNotifyPostPaint);
    EXPECT_EQ(run.dc.current, &fonts.bold);
    run(fonts, CustomDrawStage::ItemPostPaint, 3);
    EXPECT_EQ(run.dc.current, &original);          // the previous font is back after item 3
    run(fonts, CustomDrawStage::ItemPostPaint, 3); // nothing pending: nothing selected
    EXPECT_EQ(run(fonts, CustomDrawStage::SubItemPrePaint, 0, 1), kCdrfNotifyPostPaint);
    run(fonts, CustomDrawStage::SubItemPostPaint, 0, 1);
    EXPECT_EQ(run.dc.current, &original);
    EXPECT_EQ(run.dc.selections, (std::vector<int>{7, 1, 8, 1}));
}

TEST(CustomDrawHandler, CustomDrawingSkipsTheDefaultAndMakesOneContext)
{
    struct Owner : Handler {
        FakeFont f{4};
        int drawn = 0;
        bool DrawsWholeControl() override { return true; }
        bool DrawWholeControl(FakeDc&) override { return false; } // draws, keeps the default too
        bool WantsControlPostPaint() override { return true; }
        FakeFont* ItemFont(long, uint32_t, intptr_t) override { return &f; }
        bool DrawsItem(long item, uint32_t, intptr_t) override { return item == 5; }
        bool DrawItemCustom(FakeDc&, long, uint32_t, intptr_t) override { return ++drawn, true; }
        bool DrawsCell(long, int, uint32_t, intptr_t) override { return true; }
        bool DrawCell(FakeDc&, long, int subItem, uint32_t, intptr_t) override { return subItem == 0; }
        bool DrawsAfterControl() override { return true; }
        bool DrawAfterControl(FakeDc&) override { return ++drawn, true; }
    } owner;
    DrawRun run;
    EXPECT_EQ(run(owner, CustomDrawStage::PrePaint), kCdrfNotifyPostPaint);
    EXPECT_EQ(run(owner, CustomDrawStage::ItemPrePaint, 5), kCdrfNotifyPostPaint | kCdrfSkipDefault);
    EXPECT_EQ(run.made, 2); // once per notification, though font and drawing both needed it
    EXPECT_EQ(run(owner, CustomDrawStage::ItemPrePaint, 4), kCdrfNotifyPostPaint);
    EXPECT_EQ(run(owner, CustomDrawStage::SubItemPrePaint, 4, 0), kCdrfSkipDefault);
    EXPECT_EQ(run(owner, CustomDrawStage::SubItemPrePaint, 4, 1), kCdrfDoDefault);
    EXPECT_EQ(run(owner, CustomDrawStage::PostPaint), kCdrfDoDefault);
    EXPECT_EQ(owner.drawn, 2);
}
