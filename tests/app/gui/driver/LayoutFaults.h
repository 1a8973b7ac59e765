#pragma once

#include <string>
#include <vector>

class wxTopLevelWindow;

namespace zib {

// What a user would see as broken in a window as it is laid out now, one
// line per fault:
//   "too-large: WxH"             the window (or its best size) exceeds 1024x768
//   "clipped: ID CLASS TEXT ..." a labelled control or a spin control smaller than its
//                                text (and its arrows)
//   "outside: ID CLASS ..."       a control reaching past its parent's client area
//   "overlap: ID ID"              two sibling controls covering each other
// Every page of a notebook counts, the hidden ones too.
std::vector<std::string> LayoutFaults(wxTopLevelWindow* window);

} // namespace zib
