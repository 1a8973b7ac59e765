#include "platform/ZibDropTarget.h"

#include "platform/ZibClipboardFormat.h"

namespace zib {

ZibDropTarget::ZibDropTarget(OverFn over, DropFn drop)
    : wxDropTarget(new wxCustomDataObject(ZibClipboardFormat())), over_(std::move(over)),
      drop_(std::move(drop))
{
}

wxDragResult ZibDropTarget::OnDragOver(wxCoord x, wxCoord y, wxDragResult)
{
    return over_(x, y);
}

wxDragResult ZibDropTarget::OnData(wxCoord x, wxCoord y, wxDragResult def)
{
    if (!GetData()) return wxDragNone;
    auto* data = static_cast<wxCustomDataObject*>(GetDataObject());
    const auto* bytes = static_cast<const uint8_t*>(data->GetData());
    return drop_(std::vector<uint8_t>(bytes, bytes + data->GetSize()), x, y, def);
}

} // namespace zib
