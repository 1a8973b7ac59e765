#include "docs/style/core/CStsItemAccessor.h"

#include "platform/ByteCursor.h"

#include <algorithm>
#include <cstdio>

namespace zib {

int CStsItemAccessor::Parse(std::span<uint8_t> data)
{
    valid_ = false;
    base_ = data;
    ordinals_.fill(kAbsent);
    count_ = 0;
    if (data.size() < StsItemData::kDataLength + 4) return 1;
    ByteCursor length(data.data() + StsItemData::kDataLength, 4);
    if (length.u32be() > data.size()) return 1;
    const int count = data.size() > StsItemData::kStsCount ? data[StsItemData::kStsCount] : 0;
    if (data.size() <= StsItemData::kStsCount || count > StsItemData::kMaxSts) return 1;
    if (data.size() < StsItemData::kFirstSts + StsItemData::kStsBlock * size_t(count)) return 1;
    for (int k = 0; k < count; ++k) {
        const uint8_t slot = data[StsItemData::kFirstSts + StsItemData::kStsBlock * size_t(k)];
        if (slot > 3 || ordinals_[slot] != kAbsent) {
            ordinals_.fill(kAbsent);
            return 1;
        }
        ordinals_[slot] = uint8_t(k);
    }
    count_ = count;
    valid_ = true;
    return 0;
}

size_t CStsItemAccessor::SlotOffset(int slot) const
{
    if (!HasSlot(slot)) return 0;
    return StsItemData::kFirstSts + StsItemData::kStsBlock * size_t(ordinals_[size_t(slot)]);
}

std::span<uint8_t> CStsItemAccessor::SlotBlock(int slot) const
{
    if (!HasSlot(slot)) return {};
    return base_.subspan(SlotOffset(slot), StsItemData::kStsBlock);
}

int CStsItemAccessor::ReplaceSts(int slot, std::span<const uint8_t> block)
{
    if (!HasSlot(slot) || block.size() != StsItemData::kStsBlock) return 0;
    const std::span<uint8_t> target = SlotBlock(slot);
    std::copy(block.begin(), block.end(), target.begin());
    target[0] = uint8_t(slot);
    return 1;
}

std::string CStsItemAccessor::GetStsPanText(int value)
{
    char text[16];
    if (value > 254) return "Off";
    if (value < 64)
        std::snprintf(text, sizeof text, "L-%d", 64 - value);
    else if (value == 64)
        return "CNT";
    else
        std::snprintf(text, sizeof text, "R+%d", value - 64);
    return text;
}

std::string CStsItemAccessor::GetFillModeText(int value)
{
    static constexpr const char* kTexts[] = {"OFF", "1&2", "1&3", "1&4", "2&3", "2&4", "3&4", "UP",
                                             "DOWN", "INC", "DEC", "->1", "->2", "->3", "->4"};
    if (value < 0 || value > 14) return "???";
    return kTexts[value];
}

std::string CStsItemAccessor::GetSlotName(int slot)
{
    if (slot < 0 || slot > 3) return {};
    return "STS" + std::to_string(slot + 1);
}

} // namespace zib
