#include "tests/support/Golden.h"

#include "tests/support/CiRun.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace zib::test {

void compareWithGolden(const std::string& text, const std::string& path)
{
    if (std::getenv("ZIB_UPDATE_GOLDEN")) {
        if (inCi()) GTEST_FAIL() << "ZIB_UPDATE_GOLDEN never runs in CI: " << path;
        std::ofstream(path, std::ios::binary) << text;
        GTEST_SKIP() << "golden file written, check it by hand: " << path;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << "missing golden file " << path;
    std::stringstream expected;
    expected << in.rdbuf();
    EXPECT_EQ(text, expected.str());
}

} // namespace zib::test
