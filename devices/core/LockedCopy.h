#pragma once

#include <mutex>

namespace zib {

// A copy of `value` taken while `mutex` is held: the getters of members that
// another thread writes.
template <class Mutex, class T> T LockedCopy(Mutex& mutex, const T& value)
{
    std::lock_guard lock(mutex);
    return value;
}

} // namespace zib
