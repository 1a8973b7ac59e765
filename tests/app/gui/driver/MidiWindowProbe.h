#pragma once

#include <functional>
#include <string>
#include <vector>

namespace zib {

// Script lines of the test driver about the MIDI windows:
//   midi-rows                  writes the first rows shown by the active MIDI window's list and
//                              grid, and the height of a row in each
//   midi-layout                writes the active MIDI window's track list pane width, the list's
//                              font's average character width, its column widths and the width
//                              of the grid's first measure
//   midi-scroll list|grid ROW  scrolls the list or the grid as the user would, to that first row
//   midi-click ROW COLUMN      a click on a cell of the track list
//   midi-dclick ROW COLUMN     a double click there
//   midi-bar-row ROW           what the screen shows of a row of the bar grid beside the list:
//                              "midi-bar-row ROW: content=N hatch=N marks=N", its pixels of
//                              a track's content (white), of the hatching of a selected row
//                              (black, as the position cursor's line) and of event marks
//   midi-live-value TEXT       types into the open value box over a cell, then Enter
//   grid-type ROW COL TEXT|-   a double click on a cell of the active event list, the text
//                              typed into its editor (- none), no Enter: the editor stays open
//   label-type TEXT            the open label editor of the active child's list takes TEXT and
//                              stays open
//   event-rclick ROW COL [ID]  a right click on a cell of the active event editor; its
//                              context menu (when one opens) is written and answered with ID
// True when the line was one of these.
bool RunMidiWindowProbe(const std::vector<std::string>& words, const std::function<void(const std::string&)>& log);

} // namespace zib
