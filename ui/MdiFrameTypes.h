#pragma once

#include <wx/aui/aui.h>

namespace zib {

// The MDI frame classes the program is built on: AUI's tabbed MDI. Switching
// to the platform's plain MDI (wxMDIParentFrame / wxMDIChildFrame) needs only
// these two lines.
using ZibMdiParentFrame = wxAuiMDIParentFrame;
using ZibMdiChildFrame = wxAuiMDIChildFrame;

} // namespace zib
