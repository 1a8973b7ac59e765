#include "tests/support/CiRun.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace zib::test {

bool inCi()
{
    const char* ci = std::getenv("CI");
    if (!ci) return false;
    const std::string v(ci);
    return !v.empty() && v != "0" && v != "false";
}

void reportMissingInCi(const std::string& what)
{
    if (inCi()) ADD_FAILURE() << what << " is missing; a CI run needs it (CI is set)";
}

} // namespace zib::test
