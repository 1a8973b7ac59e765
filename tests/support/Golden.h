#pragma once

#include <string>

namespace zib::test {

// Compares `text` with the golden file `path` byte for byte. With
// ZIB_UPDATE_GOLDEN set the file is written from `text` instead and the test
// skips; a golden file written that way must be checked line by line by hand
// before it is committed, so in CI the switch fails the test.
void compareWithGolden(const std::string& text, const std::string& path);

} // namespace zib::test
