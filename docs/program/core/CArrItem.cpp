#include "docs/program/core/CArrItem.h"

#include <algorithm>

namespace zib {

size_t ArrRecordSize(int model, int recordMode)
{
    switch (model) {
    case '9':
    case '<':
    case 'H': return 131;
    case 'M': return 164;
    case 'I': return recordMode == 1 ? 164 : 194;
    default: return 0;
    }
}

bool GetArrItem(CArrItem& item, std::span<const uint8_t> record, int model, int recordMode)
{
    const size_t size = ArrRecordSize(model, recordMode);
    if (size == 0 || record.size() < size) return false;
    item.data.assign(record.begin(), record.begin() + ptrdiff_t(size));
    item.SetName(std::string_view(reinterpret_cast<const char*>(record.data()), std::min<size_t>(18, size)));
    ConvertItemName(item.name, uint32_t(model), 1);
    item.model = uint32_t(model);
    return true;
}

} // namespace zib
