#pragma once

namespace zib::test {

// The windowing library on a private display, started once for the whole
// test program (an application object made by wxInitializer: no main loop),
// with the program's services as a window alone needs them. A test of a
// window skips itself when this is false (a failure in CI).
bool WindowsAvailable();

} // namespace zib::test
