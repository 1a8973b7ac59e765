#pragma once

#include "docs/style/core/StsItemData.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace zib {

// An overlay on one STS data buffer (StsItemData), made for one use: finds
// the STS blocks after the style track records and which slot (STS1-STS4)
// each one holds.
class CStsItemAccessor {
public:
    static constexpr uint8_t kAbsent = 255;

    // 0 when the buffer holds what its length at 24 and its STS count say:
    // the length not above the buffer, at most 4 blocks, all inside the
    // buffer (432 + 261 x count bytes), each slot byte 0-3 and none twice.
    // 1 otherwise; the accessor is then not valid.
    int Parse(std::span<uint8_t> data);
    bool Valid() const { return valid_; }

    // Reading
    int GetStsCount() const { return valid_ ? count_ : 0; }
    bool HasSlot(int slot) const { return valid_ && slot >= 0 && slot < 4 && ordinals_[size_t(slot)] != kAbsent; }
    // The block's position 0..count-1, 255 when the slot is absent.
    uint8_t SlotOrdinal(int slot) const { return slot >= 0 && slot < 4 ? ordinals_[size_t(slot)] : kAbsent; }
    const std::array<uint8_t, 4>& SlotOrdinals() const { return ordinals_; }
    // Offset of the slot's block in the buffer (0 when absent).
    size_t SlotOffset(int slot) const;
    std::span<uint8_t> SlotBlock(int slot) const;

    // Copies 261 bytes over the slot's block and writes the slot number into
    // its first byte: 1, or 0 when not valid, the slot is absent or the
    // bytes are not 261.
    int ReplaceSts(int slot, std::span<const uint8_t> block);

    // Value texts
    // "Off" above 254; 0-63 "L-%d" of 64 - value; 64 "CNT"; 65-254 "R+%d" of value - 64.
    static std::string GetStsPanText(int value);
    // 0-14 "OFF", "1&2", "1&3", "1&4", "2&3", "2&4", "3&4", "UP", "DOWN", "INC", "DEC", "->1" .. "->4"; else "???".
    static std::string GetFillModeText(int value);
    // "STS1" .. "STS4"
    static std::string GetSlotName(int slot);

private:
    std::span<uint8_t> base_;
    std::array<uint8_t, 4> ordinals_{kAbsent, kAbsent, kAbsent, kAbsent};
    int count_ = 0;
    bool valid_ = false;
};

} // namespace zib
