#pragma once

#include <atomic>

namespace zib {

// The playing guard: the program's playing flag (ShellServices::Playing), or a
// pad or style document's own. While it is set the document cores refuse
// every edit. Owners that never play pass this one, which stays 0.
const std::atomic<int>& NotPlaying();

} // namespace zib
