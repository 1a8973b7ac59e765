#include "docs/style/core/CItemInfo.h"

#include "midi/ValueTexts.h"
#include "platform/Cp1252.h"

#include <algorithm>
#include <cstring>

namespace zib {

std::string CItemInfo::NameText() const
{
    const auto end = std::find(name.begin(), name.end(), '\0');
    return std::string(name.begin(), end);
}

void CItemInfo::SetName(std::string_view bytes)
{
    name.fill('\0');
    std::memcpy(name.data(), bytes.data(), std::min(bytes.size(), kNameSize - 1));
}

bool RenameKeepsName(const CItemInfo& item, std::string_view text, uint32_t model)
{
    CItemInfo renamed;
    renamed.SetName(text);
    ConvertItemName(renamed.name, model, 1);
    return renamed.NameText() == item.NameText();
}

std::string ItemFileName(const CItemInfo& item)
{
    std::string name = item.NameText();
    MakeValidFileName(name);
    return cp1252ToUtf8(name);
}

uint32_t ItemNameWidth(uint32_t model)
{
    if (IsQeModel(model)) return 18;
    if (IsWqFamilyB(model)) return 16;
    return 10;
}

void ConvertItemName(CItemInfo::Name& name, uint32_t model, int mode)
{
    const uint32_t width = ItemNameWidth(model);
    if (mode == 1) {
        for (uint32_t i = width - 1; i >= 1; --i) {
            if (static_cast<signed char>(name[i]) > 32) {
                name[i + 1] = '\0';
                return;
            }
        }
        return;
    }
    for (uint32_t i = width - 1; i >= 1; --i)
        if (name[i] == '\0') name[i] = ' ';
}

} // namespace zib
