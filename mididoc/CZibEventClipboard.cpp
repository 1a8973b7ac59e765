#include "mididoc/CZibEventClipboard.h"

#include "platform/ZibClipboardFormat.h"

#include <wx/clipbrd.h>
#include <wx/dataobj.h>

namespace zib {

bool CZibEventClipboard::HasPrivateFormat() const
{
    return ZibClipboardFormatRegistered();
}

EventClipboard::Result CZibEventClipboard::Put(std::vector<uint8_t> block)
{
    if (!ZibClipboardFormatRegistered()) return Result::CannotAttach;
    wxClipboardLocker lock;
    if (!lock) return Result::CannotAttach;
    auto* data = new wxCustomDataObject(ZibClipboardFormat());
    data->SetData(block.size(), block.data());
    return wxTheClipboard->SetData(data) ? Result::Ok : Result::CannotAttach;
}

EventClipboard::Result CZibEventClipboard::Get(std::vector<uint8_t>& block)
{
    if (!ZibClipboardFormatRegistered()) return Result::NoBlock;
    wxClipboardLocker lock;
    if (!lock) return Result::CannotAttach;
    if (!wxTheClipboard->IsSupported(ZibClipboardFormat())) return Result::CannotGetData;
    wxCustomDataObject data(ZibClipboardFormat());
    if (!wxTheClipboard->GetData(data)) return Result::CannotGetData;
    const auto* bytes = static_cast<const uint8_t*>(data.GetData());
    block.assign(bytes, bytes + data.GetSize());
    return Result::Ok;
}

bool CZibEventClipboard::Offers()
{
    if (!ZibClipboardFormatRegistered()) return false;
    wxClipboardLocker lock;
    return !!lock && wxTheClipboard->IsSupported(ZibClipboardFormat());
}

CZibEventClipboard& CZibEventClipboard::Instance()
{
    static CZibEventClipboard clipboard;
    return clipboard;
}

} // namespace zib
