#pragma once

#include "platform/FileIo.h"
#include "tests/support/gui/ZibSession.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zib::test {

// The real program with an author set, so that it starts at once, and the
// files a test writes for it to open.
class AppGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!session_.displayOk()) GTEST_SKIP() << "Xvfb is not available";
        session_.seedAuthor();
    }

    // Script lines that open a file of these bytes through File > Open.
    std::string open(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        const auto path = session_.files() / name;
        EXPECT_EQ(writeFileAtomically(path, bytes), FileIoError::None);
        return "dialog path \"" + path.string() + "\"\nmenu 57601\nawait-idle\n";
    }

    // The run's log, one line each, for failure messages.
    static std::string logText(const ZibRun& r)
    {
        std::string all;
        for (const auto& l : r.log) all += l + "\n";
        return all;
    }

    ZibSession session_;
};

} // namespace zib::test
