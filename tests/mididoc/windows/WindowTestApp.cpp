#include "tests/mididoc/windows/WindowTestApp.h"

#include "tests/support/CiRun.h"
#include "tests/support/gui/TestShell.h"
#include "tests/support/gui/ZibSession.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <wx/app.h>
#include <wx/init.h>

wxIMPLEMENT_APP_NO_MAIN(wxApp);

namespace zib::test {

namespace {

TestShell testShell;

// The display and the library live from the first test to the last.
class WindowEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        display_ = std::make_unique<XvfbDisplay>();
        if (display_->ok()) setenv("DISPLAY", display_->name().c_str(), 1);
        init_ = std::make_unique<wxInitializer>();
        ok_ = display_->ok() && init_->IsOk();
    }
    void TearDown() override
    {
        init_.reset();
        display_.reset();
    }
    bool ok() const { return ok_; }

private:
    std::unique_ptr<XvfbDisplay> display_;
    std::unique_ptr<wxInitializer> init_;
    bool ok_ = false;
};

WindowEnvironment* const environment =
    static_cast<WindowEnvironment*>(::testing::AddGlobalTestEnvironment(new WindowEnvironment));

} // namespace

bool WindowsAvailable()
{
    if (environment->ok()) return true;
    reportMissingInCi("Xvfb (package xvfb) and the windowing library on it");
    return false;
}

} // namespace zib::test
