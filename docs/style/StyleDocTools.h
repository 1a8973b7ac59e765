#pragma once

#include <functional>
#include <wx/string.h>

class wxWindow;

namespace zib {

class CZibPadWxDoc;
class CZibStyWxDoc;

// The tool windows that open on a style or pad document (the edit frames of
// one item). Empty until the area that makes them fills them in; the
// Properties command stays disabled while its entry is empty.
struct StyleDocTools {
    // The style edit frame of row `row` with its title, or null.
    std::function<wxWindow*(CZibStyWxDoc& doc, int row, const wxString& title)> openStyleEditFrame;
    // The pad edit frame of row `row` with its title, or null.
    std::function<wxWindow*(CZibPadWxDoc& doc, int row, const wxString& title)> openPadEditFrame;
    // Writes the edits of an open Wq style edit frame back into its item
    // (when the list becomes active again): 0 done, -1 failed, -2 the
    // document must be aborted.
    std::function<int(wxWindow* frame)> writeBackWqEdits;
};

StyleDocTools& GetStyleDocTools();

} // namespace zib
