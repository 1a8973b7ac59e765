#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

// One row of a keyboard-file document: a style, STS block, pad, program,
// drum kit or performance, with its own copy of the item's data in its file
// form (Wq) or in the container's serialised resource form (Qe).
class CItemInfo {
public:
    static constexpr size_t kNameSize = 19; // 18 characters and a NUL
    using Name = std::array<char, kNameSize>;

    virtual ~CItemInfo() = default;

    // Fields
    Name name{};              // Windows-1252 bytes; see ConvertItemName
    uint32_t position = 0;    // the item's row in its document, from 0
    uint32_t model = 0;       // model letter of the item
    std::vector<uint8_t> data;

    uint32_t Size() const { return uint32_t(data.size()); }

    // The name up to its first NUL.
    std::string NameText() const;
    // Copies at most 18 bytes of `bytes` and NUL-pads the rest.
    void SetName(std::string_view bytes);
};

// Whether a rename to `text` keeps the item's name: `text` (at most 18
// bytes) trimmed for `model` reads as the name does. Such a rename changes
// nothing (a label editor closed without an edit ends with one).
bool RenameKeepsName(const CItemInfo& item, std::string_view text, uint32_t model);

// Name width of a model's items: 18 for 'F' and 'X', 16 for 'I' and 'M', 10
// for every other model.
uint32_t ItemNameWidth(uint32_t model);

// The one rule for item names, in place on the 19-byte field. W = the model's
// width. Mode 1 (trim): from byte W-1 down to byte 1, the first byte above 32
// as a signed character (so bytes 128-255 count as blanks) gets a NUL after
// it; with none the name stays. Any other mode (pad): every NUL among bytes
// W-1 down to 1 becomes a blank, no terminator written. Byte 0 is never examined.
void ConvertItemName(CItemInfo::Name& name, uint32_t model, int mode);

// The item's name as (part of) a file name: every character a file name
// cannot hold made '_' (MakeValidFileName), then the Windows-1252 bytes as
// UTF-8.
std::string ItemFileName(const CItemInfo& item);

// Model letters of the two series
inline constexpr bool IsWqModel(uint32_t model)
{
    return model == '9' || model == '<' || model == 'H' || model == 'I' || model == 'M';
}
inline constexpr bool IsQeModel(uint32_t model)
{
    return model == 'F' || model == 'X';
}
// Layout B of the Wq series ('I', 'M': 16-character names, fields 8 bytes later)
inline constexpr bool IsWqFamilyB(uint32_t model)
{
    return model == 'I' || model == 'M';
}

} // namespace zib
