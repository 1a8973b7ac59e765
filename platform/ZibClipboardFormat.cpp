#include "platform/ZibClipboardFormat.h"

namespace zib {

const wxDataFormat& ZibClipboardFormat()
{
    static const wxDataFormat format(wxString("Zib"));
    return format;
}

bool ZibClipboardFormatRegistered()
{
    return ZibClipboardFormat().GetType() != wxDF_INVALID && !ZibClipboardFormat().GetId().empty();
}

} // namespace zib
