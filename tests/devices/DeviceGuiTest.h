#pragma once

#include "platform/FileProfile.h"
#include "tests/support/gui/ZibSession.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace zib::test {

// Base of the device area's tests of the running program: a private display
// and settings folder with an author and user port 1 on device 0 (the
// built-in synthesizer). Every run must end in time with every dialog
// answered and no sanitizer report; a failing test shows the run's log.
class DeviceGuiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!session_.displayOk()) GTEST_SKIP() << "Xvfb is not available";
        FileProfile settings(session_.settingsFile());
        settings.setString("Settings", "Author", "Tester");
        const uint8_t ports[] = {0, 1};
        settings.setBinary("Settings", "UserMidiOutPorts", ports);
    }

    ZibRun run(const std::string& script, int seconds = 40)
    {
        ZibRun r = session_.runChecked(script, seconds);
        if (::testing::Test::HasFailure())
            for (const auto& line : r.log)
                ADD_FAILURE() << "log: " << line;
        return r;
    }

    // The settings folder, where the instrument and relation files live
    std::filesystem::path config() const { return session_.settingsFile().parent_path(); }

    ZibSession session_;
};

} // namespace zib::test
