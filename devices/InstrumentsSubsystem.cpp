#include "devices/InstrumentsSubsystem.h"

#include "app/CMainFrame.h"
#include "app/CZibApp.h"
#include "app/ZibSubsystems.h"
#include "devices/core/CInstrumentStore.h"
#include "devices/dialogs/CConfigureInstrumentsDlg.h"
#include "devices/CInstrumentUiWx.h"
#include "devices/dialogs/CPortInstrumentDlg.h"
#include "devices/CSystemMidiDevices.h"
#include "platform/DataDir.h"
#include "platform/FileProfile.h"
#include "devices/core/CMidiSystem.h"

namespace zib {

CInstrumentStore& AppInstruments()
{
    static CInstrumentUiWx ui;
    static CInstrumentStore& store = [] () -> CInstrumentStore& {
        CZibApp& app = wxGetApp();
        static CInstrumentStore s(app.m_Instruments, app.m_InstrumentsLoaded, app.m_PortInstrumentRelations,
                                  app.m_RelationsLoaded, app.m_MidiOutDeviceNames, app.m_MidiInDeviceNames);
        s.SetConfigFolder(FileProfile::defaultPath().parent_path());
        s.SetApplicationName(CZibApp::kAppName);
        s.SetSuppliedDefinitions(dataFile("devices/Zib.icf"));
        s.SetKeyAlphabet([] { return wxGetApp().Settings().KeyAlphabet; });
        s.SetUi(&ui);
        return s;
    }();
    return store;
}

void EnumMidiDevices()
{
    CMidiSystem& system = CMidiSystem::Default();
    system.Refresh();
    AppInstruments().EnumMidiDevices(wxGetApp().Settings().UserMidiOutPorts, CSystemMidiDevices(system));
}

void ConfigureInstruments(wxWindow* parent)
{
    CConfigureInstrumentsDlg dlg(parent, AppInstruments());
    dlg.ShowModal();
}

int RunPortInstrumentDlg(wxWindow* parent, int initialPort, int initialChannel)
{
    CInstrumentStore& store = AppInstruments();
    store.LoadInstrumentDefinitions();
    store.LoadPortInstrumentRelations();
    EnumMidiDevices();
    CPortInstrumentDlg dlg(parent, store, wxGetApp().Settings().UserMidiOutPorts,
                           CMidiSystem::Default().OutDeviceCount(), initialPort, initialChannel);
    return dlg.ShowModal();
}

void RunInstrumentsCommand()
{
    RunPortInstrumentDlg(CMainFrame::Get(), -1, 0);
    AppInstruments().SavePortInstrumentRelations();
}

void ConnectInstruments(ZibSubsystems& subsystems)
{
    subsystems.LoadPortInstrumentRelations = [] { return AppInstruments().LoadPortInstrumentRelations(); };
    subsystems.EnumMidiDevices = [] { EnumMidiDevices(); };
    subsystems.MidiOutDeviceCount = [] { return CSystemMidiDevices(CMidiSystem::Default()).OutDeviceCount(); };
    subsystems.MidiInDeviceCount = [] { return CSystemMidiDevices(CMidiSystem::Default()).InDeviceCount(); };
    subsystems.RunInstrumentsDialog = [] { RunInstrumentsCommand(); };
}

} // namespace zib
