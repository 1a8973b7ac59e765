#include "styles/WqStyleLayout.h"

#include "platform/ByteCursor.h"

namespace zib {

const char* WqImageErrorText(WqImageError error)
{
    switch (error) {
    case WqImageError::None: return "Success";
    case WqImageError::TooSmall: return "Style data smaller than the style head";
    case WqImageError::EntryInsideHead: return "Style offset table points into the style head";
    case WqImageError::EntriesDecrease: return "Style offset table entries decrease";
    case WqImageError::EndBeyondImage: return "Style offset table points past the style data";
    }
    return "";
}

WqImageError ValidateWqImage(const uint8_t* image, size_t size, uint32_t model)
{
    const wq::Layout& layout = wq::layoutOf(model);
    if (!image || size < layout.headSize) return WqImageError::TooSmall;
    ByteCursor cursor(image, size);
    cursor.seek(layout.offsetTable);
    uint32_t previous = layout.headSize;
    for (int i = 0; i < wq::kOffsetEntryCount; ++i) {
        uint32_t entry = cursor.u16le();
        if (entry < layout.headSize) return WqImageError::EntryInsideHead;
        if (entry < previous) return WqImageError::EntriesDecrease;
        previous = entry;
    }
    if (previous > size) return WqImageError::EndBeyondImage;
    return WqImageError::None;
}

} // namespace zib
