#pragma once

#include <functional>
#include <string>
#include <vector>

namespace zib {

// Test commands that read what the user sees of the active child's list and
// of the main frame's toolbars (lines of the test driver's script):
//   log-columns ROWS      each column of the active child's first list or
//                         grid: its width, the pixel widths of its header and
//                         of the widest of the first ROWS cells, how many of
//                         its pixels the window shows, and the two texts
//   cell-tip ROW COL      moves the mouse pointer over that cell and writes
//                         the tooltip shown there ("" for none)
//   log-toolbars          each button of each toolbar: where its picture came
//                         from, its size, whether it looks like the letter
//                         tile, and its tooltip
//   toolbar-icon-size N   builds the toolbars again with N-pixel icons (0: the
//                         theme's size)
//   text-find TEXT [N]    the first line of the active child's N-th text
//                         control that holds TEXT ("none" when no line does)
// True when the line was one of these.
bool RunViewProbe(const std::vector<std::string>& words, const std::function<void(const std::string&)>& log);

} // namespace zib
