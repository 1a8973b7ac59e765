#pragma once

namespace zib::fuzz {

// A property that must hold for every input: when it does not, the run
// stops with a crash, which libFuzzer reports with the input that caused it.
inline void check(bool holds)
{
    if (!holds) __builtin_trap();
}

} // namespace zib::fuzz
