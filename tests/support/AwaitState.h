#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace zib::test {

// The longest a test waits for a state that is on its way: only a hang takes
// that long, so a busy machine gives the same answer as an idle one, later.
inline constexpr std::chrono::seconds kHangCeiling{120};

// Looks whether `holds` every `every` (it may do the work that brings the
// state about, such as delivering posted events) until it does; false only
// when kHangCeiling passed first. (Header only: the benchmarks that share
// the tests' JACK helpers compile their sources one by one.)
inline bool awaitState(const std::function<bool()>& holds,
                       std::chrono::milliseconds every = std::chrono::milliseconds(5))
{
    const auto ceiling = std::chrono::steady_clock::now() + kHangCeiling;
    for (;;) {
        if (holds()) return true;
        if (std::chrono::steady_clock::now() > ceiling) return false;
        std::this_thread::sleep_for(every);
    }
}

} // namespace zib::test
