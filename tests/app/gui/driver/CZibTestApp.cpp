#include "tests/app/gui/driver/CZibTestApp.h"

#include "tests/app/gui/driver/CTestDriver.h"

#include <cstdlib>

namespace zib {

CZibTestApp::CZibTestApp() = default;

CZibTestApp::~CZibTestApp() = default;

bool CZibTestApp::OnInit()
{
    // The driver answers the dialogs of the start-up too.
    if (const char* script = std::getenv("ZIB_TEST_SCRIPT"); script && *script)
        m_testDriver = std::make_unique<CTestDriver>(script);
    if (!CZibApp::OnInit()) return false;
    if (m_testDriver) m_testDriver->Start();
    return true;
}

int CZibTestApp::OnExit()
{
    const int code = CZibApp::OnExit();
    if (m_testDriver) m_testDriver->Finish();
    return code;
}

} // namespace zib
