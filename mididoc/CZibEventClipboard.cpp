#include "mididoc/CZibEventClipboard.h"

#include "platform/ZibClipboardFormat.h"

#include <wx/clipbrd.h>
#include <wx/dataobj.h>

namespace zib {

bool CZibEventClipboard::HasPrivateFormat() const
{
    return ZibClipboardFormatRegistered();
}

namespace {

// The format of an event block's supplement, of the program's own family
const wxDataFormat& supplementFormat()
{
    static const wxDataFormat format(wxString("Zib Event Supplement"));
    return format;
}

bool supplementFormatRegistered()
{
    return supplementFormat().GetType() != wxDF_INVALID && !supplementFormat().GetId().empty();
}

// The bytes of one format on the open clipboard; false when it has none
bool readFormat(const wxDataFormat& format, std::vector<uint8_t>& out)
{
    if (!wxTheClipboard->IsSupported(format)) return false;
    wxCustomDataObject data(format);
    if (!wxTheClipboard->GetData(data)) return false;
    const auto* bytes = static_cast<const uint8_t*>(data.GetData());
    out.assign(bytes, bytes + data.GetSize());
    return true;
}

} // namespace

EventClipboard::Result CZibEventClipboard::Put(std::vector<uint8_t> block)
{
    return PutWithSupplement(std::move(block), {});
}

EventClipboard::Result CZibEventClipboard::Get(std::vector<uint8_t>& block)
{
    std::vector<uint8_t> supplement;
    return GetWithSupplement(block, supplement);
}

EventClipboard::Result CZibEventClipboard::PutWithSupplement(std::vector<uint8_t> block,
                                                             std::vector<uint8_t> supplement)
{
    if (!ZibClipboardFormatRegistered()) return Result::CannotAttach;
    wxClipboardLocker lock;
    if (!lock) return Result::CannotAttach;
    auto* data = new wxCustomDataObject(ZibClipboardFormat());
    data->SetData(block.size(), block.data());
    if (supplement.empty() || !supplementFormatRegistered())
        return wxTheClipboard->SetData(data) ? Result::Ok : Result::CannotAttach;
    // One offer of two formats: the block stays what "Zib" gives.
    auto* extra = new wxCustomDataObject(supplementFormat());
    extra->SetData(supplement.size(), supplement.data());
    auto* both = new wxDataObjectComposite;
    both->Add(data, true);
    both->Add(extra);
    return wxTheClipboard->SetData(both) ? Result::Ok : Result::CannotAttach;
}

EventClipboard::Result CZibEventClipboard::GetWithSupplement(std::vector<uint8_t>& block,
                                                             std::vector<uint8_t>& supplement)
{
    supplement.clear();
    if (!ZibClipboardFormatRegistered()) return Result::NoBlock;
    wxClipboardLocker lock;
    if (!lock) return Result::CannotAttach;
    if (!readFormat(ZibClipboardFormat(), block)) return Result::CannotGetData;
    if (supplementFormatRegistered() && !readFormat(supplementFormat(), supplement)) supplement.clear();
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
