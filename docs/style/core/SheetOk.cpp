#include "docs/style/core/SheetOk.h"

#include <algorithm>

namespace zib {

bool WriteChangesBytes(std::span<uint8_t> bytes, const std::function<void(std::span<uint8_t>)>& write)
{
    const std::vector<uint8_t> before(bytes.begin(), bytes.end());
    write(bytes);
    return !std::ranges::equal(before, bytes);
}

WqStyleItemRef WqDialogItemRef(uint32_t modelLetter, std::vector<uint8_t>& data,
                               std::function<void()> setModified)
{
    return {modelLetter, data, [&data, before = data, setModified = std::move(setModified)] {
                if (data != before && setModified) setModified();
            }};
}

bool PutBackWhenChanged(std::vector<uint8_t>& record, std::vector<uint8_t> edited)
{
    if (edited == record) return false;
    record = std::move(edited);
    return true;
}

} // namespace zib
