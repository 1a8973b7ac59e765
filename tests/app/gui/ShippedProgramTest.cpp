// The shipped program carries no test driver: none of the driver's script
// words nor the variable naming its script are in zib, while the test
// program that the GUI tests run has them all.
#include "tests/support/BuildPaths.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

// The programs are large (over 100 MB in a sanitizer build): read in one go.
std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(ShippedProgram, HoldsNoTestScriptWord)
{
    const std::string shipped = fileBytes(zib::test::BuildFile(ZIB_SHIPPED_PROGRAM));
    const std::string test = fileBytes(zib::test::BuildFile(ZIB_PROGRAM));
    ASSERT_FALSE(shipped.empty()) << zib::test::BuildFile(ZIB_SHIPPED_PROGRAM);
    ASSERT_FALSE(test.empty()) << zib::test::BuildFile(ZIB_PROGRAM);
    // The driver's own words, and those of its probes of the areas' windows.
    for (const char* word : {"ZIB_TEST_SCRIPT", "ZIB_TEST_LOG", "run-dialog", "log-menubar", "await-position",
                             "midi-scroll", "bar-view-state", "log-toolbars"}) {
        EXPECT_EQ(shipped.find(word), std::string::npos) << word;
        EXPECT_NE(test.find(word), std::string::npos) << word;
    }
}

} // namespace
