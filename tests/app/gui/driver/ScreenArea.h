#pragma once

#include <wx/gdicmn.h>
#include <wx/image.h>

namespace zib {

// A part of the screen (screen coordinates) as the X server holds it now; an
// invalid image when the screen cannot be read. The toolkit's screen device
// context keeps showing what it read the first time, so test screenshots and
// pixel probes read the server instead.
wxImage ScreenArea(wxRect area);

} // namespace zib
