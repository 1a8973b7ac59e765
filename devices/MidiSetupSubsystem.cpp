#include "devices/MidiSetupSubsystem.h"

#include "app/CMainFrame.h"
#include "app/ZibSubsystems.h"
#include "devices/CSystemMidiDevices.h"
#include "devices/DeviceTestDialogs.h"
#include "devices/InstrumentsSubsystem.h"
#include "devices/core/CInstrumentStore.h"
#include "devices/core/CMidiSystem.h"
#include "devices/dialogs/CMidiPortsDlg.h"
#include "devices/dialogs/CMidiSettingsDlg.h"

namespace zib {

namespace {

// The system's devices, looked at afresh.
CSystemMidiDevices currentDevices()
{
    CMidiSystem& system = CMidiSystem::Default();
    system.Refresh();
    return CSystemMidiDevices(system);
}

} // namespace

void ConnectMidiSetup(ZibSubsystems& subsystems)
{
    AddDeviceTestDialogs(subsystems);
    subsystems.MidiSettingsDialog = [](PlaybackValues& values) {
        const CSystemMidiDevices devices = currentDevices();
        CMidiSettingsDlg dlg(CMainFrame::Get(), values, devices);
        if (dlg.ShowModal() != wxID_OK) return false;
        values = dlg.Values();
        return true;
    };
    subsystems.MidiPortsDialog = [](MidiPortsValues& values) {
        const CSystemMidiDevices devices = currentDevices();
        CMidiPortsDlg dlg(CMainFrame::Get(), values, devices);
        if (dlg.ShowModal() != wxID_OK) return false;
        values = dlg.Values();
        // Relations of ports that are no longer enabled go with them.
        CInstrumentStore& store = AppInstruments();
        if (store.LoadPortInstrumentRelations()) store.PurgePortInstrumentRelations(values.out);
        return true;
    };
}

} // namespace zib
