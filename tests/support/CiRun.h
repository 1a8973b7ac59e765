#pragma once

#include <string>

namespace zib::test {

// True when the tests run in continuous integration (CI set to anything but
// "", "0" or "false").
bool inCi();

// Something a test needs from the machine (Xvfb, the real-fixture folder) is
// missing. Outside CI the test skips itself with a message; in CI that would
// leave the run green with nothing tested, so the test fails here.
void reportMissingInCi(const std::string& what);

} // namespace zib::test
