#pragma once

#include "app/CZibApp.h"

#include <memory>

namespace zib {

class CTestDriver;

// The program as the GUI tests run it: the application, driven by the script
// that ZIB_TEST_SCRIPT names (CTestDriver) when it names one.
class CZibTestApp : public CZibApp {
public:
    CZibTestApp();
    ~CZibTestApp() override;

    bool OnInit() override;
    int OnExit() override;

private:
    std::unique_ptr<CTestDriver> m_testDriver;
};

} // namespace zib
