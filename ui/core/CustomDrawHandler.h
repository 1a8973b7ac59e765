#pragma once

#include <cstdint>

namespace zib {

// The stages of a list control's custom-draw notification.
enum class CustomDrawStage {
    PrePaint,         // the control, before painting
    PostPaint,        // the control, after painting
    ItemPrePaint,     // a row, before
    ItemPostPaint,    // a row, after
    SubItemPrePaint,  // a cell, before
    SubItemPostPaint, // a cell, after
    Other,
};

// Colour value meaning "the control's own colour".
inline constexpr uint32_t kClrDefault = 0xFF000000;

// Result bits of a notification (the list control's own numbers).
inline constexpr uint32_t kCdrfDoDefault = 0x00;
inline constexpr uint32_t kCdrfSkipDefault = 0x04;
inline constexpr uint32_t kCdrfNotifyPostPaint = 0x10;
inline constexpr uint32_t kCdrfNotifyItemDraw = 0x20;
inline constexpr uint32_t kCdrfNotifySubItemDraw = 0x20;

// One notification: what is drawn, and the colours the hooks choose for it.
struct CustomDrawNotification {
    CustomDrawStage stage = CustomDrawStage::Other;
    long item = 0;      // row
    int subItem = 0;    // column
    uint32_t state = 0; // item state
    intptr_t param = 0; // the item's application value
    uint32_t textColor = kClrDefault;
    uint32_t backColor = kClrDefault;
};

// The hooks of a custom-drawn list, and the stage machine that asks them.
// A subclass overrides single hooks to colour rows and cells, change fonts or
// draw items itself; every default keeps the control's own drawing. `DC` is
// the drawing context the drawing hooks get; it selects fonts through
// `Font* SelectFont(Font*)`, which returns the font selected before.
template <class DC, class Font> class CustomDrawHandler {
public:
    virtual ~CustomDrawHandler() = default;

    // Control hooks
    virtual bool DrawsWholeControl() { return false; }
    virtual bool DrawWholeControl(DC&) { return false; }
    virtual bool WantsItemNotifications() { return false; }
    virtual bool WantsControlPostPaint() { return false; }
    virtual bool DrawsAfterControl() { return false; }
    virtual bool DrawAfterControl(DC&) { return false; }

    // Row hooks
    virtual Font* ItemFont(long /*item*/, uint32_t /*state*/, intptr_t /*param*/) { return nullptr; }
    virtual uint32_t ItemTextColor(long /*item*/, uint32_t /*state*/, intptr_t /*param*/)
    {
        return kClrDefault;
    }
    virtual uint32_t ItemBackColor(long /*item*/, uint32_t /*state*/, intptr_t /*param*/)
    {
        return kClrDefault;
    }
    virtual bool DrawsItem(long /*item*/, uint32_t /*state*/, intptr_t /*param*/) { return false; }
    virtual bool DrawItemCustom(DC&, long /*item*/, uint32_t /*state*/, intptr_t /*param*/) { return false; }
    virtual bool WantsCellNotifications(long /*item*/, uint32_t /*state*/, intptr_t /*param*/)
    {
        return false;
    }
    virtual bool WantsItemPostPaint(long /*item*/, uint32_t /*state*/, intptr_t /*param*/) { return false; }
    virtual bool DrawsAfterItem() { return false; }
    virtual bool DrawAfterItem(DC&, long /*item*/, uint32_t /*state*/, intptr_t /*param*/) { return false; }

    // Cell hooks
    virtual Font* CellFont(long /*item*/, int /*subItem*/, uint32_t /*state*/, intptr_t /*param*/)
    {
        return nullptr;
    }
    virtual uint32_t CellTextColor(long /*item*/, int /*subItem*/, uint32_t /*state*/, intptr_t /*param*/)
    {
        return kClrDefault;
    }
    virtual uint32_t CellBackColor(long /*item*/, int /*subItem*/, uint32_t /*state*/, intptr_t /*param*/)
    {
        return kClrDefault;
    }
    virtual bool DrawsCell(long /*item*/, int /*subItem*/, uint32_t /*state*/, intptr_t /*param*/)
    {
        return false;
    }
    virtual bool DrawCell(DC&, long /*item*/, int /*subItem*/, uint32_t /*state*/, intptr_t /*param*/)
    {
        return false;
    }
    virtual bool WantsCellPostPaint(long /*item*/, int /*subItem*/, uint32_t /*state*/, intptr_t /*param*/)
    {
        return false;
    }
    virtual bool DrawsAfterCell() { return false; }
    virtual bool DrawAfterCell(DC&, long /*item*/, int /*subItem*/, uint32_t /*state*/, intptr_t /*param*/)
    {
        return false;
    }

    // The stage machine: asks the hooks for the notification's stage, writes
    // the chosen colours into it and returns the result bits. `makeDc` gives
    // the drawing context; it is called only when a hook that takes one is
    // called, and at most once per notification. A font chosen for a row or
    // cell is selected until that row's or cell's post-paint, which is then
    // requested.
    template <class MakeDc> uint32_t HandleCustomDraw(CustomDrawNotification& n, MakeDc&& makeDc)
    {
        DC* dc = nullptr;
        auto context = [&]() -> DC& {
            if (!dc) dc = &makeDc();
            return *dc;
        };
        bool postPaint = false, itemDraw = false, subItemDraw = false, skip = false;
        switch (n.stage) {
        case CustomDrawStage::PrePaint:
            savedItemFont_ = nullptr;
            savedSubItemFont_ = nullptr;
            postPaint = WantsControlPostPaint();
            itemDraw = WantsItemNotifications();
            if (DrawsWholeControl() && DrawWholeControl(context())) skip = true;
            break;
        case CustomDrawStage::PostPaint:
            if (DrawsAfterControl()) DrawAfterControl(context());
            break;
        case CustomDrawStage::ItemPrePaint:
            savedItemFont_ = nullptr;
            postPaint = WantsItemPostPaint(n.item, n.state, n.param);
            subItemDraw = WantsCellNotifications(n.item, n.state, n.param);
            n.textColor = ItemTextColor(n.item, n.state, n.param);
            n.backColor = ItemBackColor(n.item, n.state, n.param);
            if (Font* font = ItemFont(n.item, n.state, n.param)) {
                savedItemFont_ = context().SelectFont(font);
                postPaint = true;
            }
            if (DrawsItem(n.item, n.state, n.param) && DrawItemCustom(context(), n.item, n.state, n.param))
                skip = true;
            break;
        case CustomDrawStage::ItemPostPaint:
            if (savedItemFont_) {
                context().SelectFont(savedItemFont_);
                savedItemFont_ = nullptr;
            }
            if (DrawsAfterItem()) DrawAfterItem(context(), n.item, n.state, n.param);
            break;
        case CustomDrawStage::SubItemPrePaint:
            savedSubItemFont_ = nullptr;
            postPaint = WantsCellPostPaint(n.item, n.subItem, n.state, n.param);
            n.textColor = CellTextColor(n.item, n.subItem, n.state, n.param);
            n.backColor = CellBackColor(n.item, n.subItem, n.state, n.param);
            if (Font* font = CellFont(n.item, n.subItem, n.state, n.param)) {
                savedSubItemFont_ = context().SelectFont(font);
                postPaint = true;
            }
            if (DrawsCell(n.item, n.subItem, n.state, n.param) &&
                DrawCell(context(), n.item, n.subItem, n.state, n.param))
                skip = true;
            break;
        case CustomDrawStage::SubItemPostPaint:
            if (savedSubItemFont_) {
                context().SelectFont(savedSubItemFont_);
                savedSubItemFont_ = nullptr;
            }
            if (DrawsAfterCell()) DrawAfterCell(context(), n.item, n.subItem, n.state, n.param);
            break;
        case CustomDrawStage::Other:
            break;
        }
        uint32_t result = kCdrfDoDefault;
        if (postPaint) result |= kCdrfNotifyPostPaint;
        if (itemDraw) result |= kCdrfNotifyItemDraw;
        if (subItemDraw) result |= kCdrfNotifySubItemDraw;
        if (skip) result |= kCdrfSkipDefault;
        return result;
    }

private:
    Font* savedItemFont_ = nullptr;    // font to select back after the row
    Font* savedSubItemFont_ = nullptr; // font to select back after the cell
};

} // namespace zib
