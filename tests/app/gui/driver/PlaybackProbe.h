#pragma once

#include <functional>
#include <string>
#include <vector>

namespace zib {

// Script lines of the test driver about the bar view and the player window:
//   bar-view PATH              opens the bar view host on a MIDI file
//   bar-view-state             writes the host's position text and whether MIDI plays
//   close-player               closes the built-in player window
// True when the line was one of these.
bool RunPlaybackProbe(const std::vector<std::string>& words, const std::function<void(const std::string&)>& log);

} // namespace zib
