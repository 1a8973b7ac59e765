#include "devices/InstrumentsSubsystem.h"

#include "ui/ShellServices.h"
#include "ui/core/ZibSettings.h"
#include "ui/ZibSubsystems.h"
#include "devices/core/CInstrumentStore.h"
#include "devices/dialogs/CConfigureInstrumentsDlg.h"
#include "devices/CInstrumentUiWx.h"
#include "devices/core/MidiDeviceList.h"
#include "devices/dialogs/CPortInstrumentDlg.h"
#include "platform/DataDir.h"
#include "platform/FileProfile.h"

namespace zib {

CInstrumentStore& AppInstruments()
{
    static CInstrumentUiWx ui;
    static CInstrumentStore& store = [] () -> CInstrumentStore& {
        ShellServices& app = Shell();
        static CInstrumentStore s(app.Instruments(), app.InstrumentsLoaded(), app.PortInstrumentRelations(),
                                  app.RelationsLoaded(), app.MidiOutDeviceNames(), app.MidiInDeviceNames());
        s.SetConfigFolder(FileProfile::defaultPath().parent_path());
        s.SetApplicationName(ShellServices::kAppName);
        s.SetSuppliedDefinitions(dataFile("devices/Zib.icf"));
        s.SetKeyAlphabet([] { return Shell().Settings().KeyAlphabet; });
        s.SetUi(&ui);
        return s;
    }();
    return store;
}

void EnumMidiDevices()
{
    MidiDeviceList& devices = MidiDeviceList::Default();
    devices.Refresh();
    AppInstruments().EnumMidiDevices(Shell().Settings().UserMidiOutPorts, devices);
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
    CPortInstrumentDlg dlg(parent, store, Shell().Settings().UserMidiOutPorts,
                           MidiDeviceList::Default().OutDeviceCount(), initialPort, initialChannel);
    return dlg.ShowModal();
}

void RunInstrumentsCommand()
{
    RunPortInstrumentDlg(ShellFrame(), -1, 0);
    AppInstruments().SavePortInstrumentRelations();
}

void ConnectInstruments(ZibSubsystems& subsystems)
{
    subsystems.LoadPortInstrumentRelations = [] { return AppInstruments().LoadPortInstrumentRelations(); };
    subsystems.EnumMidiDevices = [] { EnumMidiDevices(); };
    // Counted at start-up before the port tables load: a first start enables
    // OUT port 0 on device 0, the built-in synth, which is always listed.
    subsystems.MidiOutDeviceCount = [] { return MidiDeviceList::Default().OutDeviceCount(); };
    subsystems.MidiInDeviceCount = [] { return MidiDeviceList::Default().InDeviceCount(); };
    subsystems.RunInstrumentsDialog = [] { RunInstrumentsCommand(); };
}

} // namespace zib
