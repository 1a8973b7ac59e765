#include "devices/core/ZibGlobalLock.h"

namespace zib {

namespace {

// Constant-initialised: usable from any static initialiser.
std::mutex gLock;

} // namespace

std::mutex& ZibGlobalLock()
{
    return gLock;
}

} // namespace zib
