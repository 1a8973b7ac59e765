#pragma once

#include <mutex>

namespace zib {

// The program's one process-wide lock, there before the application object
// starts. The style playback console takes it around its message handling;
// nothing else locks.
std::mutex& ZibGlobalLock();

} // namespace zib
