#pragma once

#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace zib::test {

// The text `reporter.ReportError` writes for `code`, "" when it writes none;
// the length it returns must be the text's.
template <class Reporter> std::string ReportedError(Reporter& reporter, int code)
{
    char buffer[256] = "unchanged";
    const int n = reporter.ReportError(buffer, sizeof buffer, code);
    if (n == 0) return {};
    EXPECT_EQ(n, int(std::strlen(buffer))) << code;
    return buffer;
}

} // namespace zib::test
