#include "devices/InstrumentsSubsystem.h"

#include "app/CMainFrame.h"
#include "app/CZibApp.h"
#include "app/ZibSubsystems.h"
#include "devices/core/CInstrumentStore.h"
#include "devices/dialogs/CConfigureInstrumentsDlg.h"
#include "devices/CInstrumentNames.h"
#include "devices/CInstrumentTrackNames.h"
#include "devices/CInstrumentUiWx.h"
#include "devices/core/MidiDeviceList.h"
#include "devices/dialogs/CPortInstrumentDlg.h"
#include "mididoc/MidiDocSubsystem.h"
#include "platform/DataDir.h"
#include "platform/FileProfile.h"

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
    MidiDeviceList& devices = MidiDeviceList::Default();
    devices.Refresh();
    AppInstruments().EnumMidiDevices(wxGetApp().Settings().UserMidiOutPorts, devices);
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
                           MidiDeviceList::Default().OutDeviceCount(), initialPort, initialChannel);
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
    // Counted at start-up before the port tables load: a first start enables
    // OUT port 0 on device 0, the built-in synth, which is always listed.
    subsystems.MidiOutDeviceCount = [] { return MidiDeviceList::Default().OutDeviceCount(); };
    subsystems.MidiInDeviceCount = [] { return MidiDeviceList::Default().InDeviceCount(); };
    subsystems.RunInstrumentsDialog = [] { RunInstrumentsCommand(); };

    // The MIDI window names ports, banks, patches, notes and controllers by
    // the instruments related to each port and channel.
    static const CInstrumentNames names(AppInstruments());
    MidiDocumentHooks& midi = MidiWindowHooks();
    midi.Names = &names;
    auto trackNames = std::make_unique<CInstrumentTrackNames>(AppInstruments());
    midi.LoadInstruments = [loader = trackNames.get()] { loader->LoadNow(); };
    SetTrackNameSource(std::move(trackNames));
}

} // namespace zib
