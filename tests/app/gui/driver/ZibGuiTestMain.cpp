#include "tests/app/gui/driver/CZibTestApp.h"

// wxIMPLEMENT_APP with the test application made in place of the program's;
// wxGetApp() keeps the type the program's code knows.
zib::CZibApp& wxGetApp()
{
    return *static_cast<zib::CZibApp*>(wxApp::GetInstance());
}

namespace {

wxAppConsole* createApp()
{
    wxAppConsole::CheckBuildOptions(WX_BUILD_OPTIONS_SIGNATURE, "zib-gui-test");
    return new zib::CZibTestApp;
}

wxAppInitializer appInitializer(createApp);

} // namespace

wxIMPLEMENT_WXWIN_MAIN
