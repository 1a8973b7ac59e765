#pragma once

#include "tests/support/gui/ZibDesktop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

namespace zib::test {

// A test of the real program on its desktop (ZibDesktop on the session's
// Xvfb), skipped without Xvfb, the window manager or xdotool (a failure in
// CI), with an author set so that the program starts at once. At its end a
// program still running is quit, and every run is checked to have ended
// well; a failed test leaves a screenshot named after it.
template <class Base = ::testing::Test> class DesktopTest : public Base {
protected:
    void SetUp() override
    {
        if (!session_.displayOk()) GTEST_SKIP() << "Xvfb is not available";
        desktop_ = std::make_unique<ZibDesktop>(session_);
        if (!desktop_->ok()) GTEST_SKIP() << "openbox or xdotool is not available";
        session_.seedAuthor();
    }

    void TearDown() override
    {
        if (!desktop_) return;
        if (::testing::Test::HasFailure()) {
            std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
            std::replace(name.begin(), name.end(), '/', '-');
            desktop_->screenshot("failed-" + name);
        }
        desktop_->quit();
        desktop_.reset();
    }

    ZibSession session_;
    std::unique_ptr<ZibDesktop> desktop_;
};

} // namespace zib::test
