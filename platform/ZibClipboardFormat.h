#pragma once

#include <wx/dataobj.h>

namespace zib {

// The program's private clipboard format, named after the program ("Zib").
// It carries items, STS chunks, style elements, chord variations and event
// lists between documents. Registered once at start-up.
const wxDataFormat& ZibClipboardFormat();

// True once the format has been registered (a format named "Zib" exists).
bool ZibClipboardFormatRegistered();

} // namespace zib
