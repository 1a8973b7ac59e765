#include "devices/MidiSetupSubsystem.h"

#include "app/CMainFrame.h"
#include "app/ZibSubsystems.h"
#include "devices/DeviceTestDialogs.h"
#include "devices/InstrumentsSubsystem.h"
#include "devices/core/CInstrumentStore.h"
#include "devices/core/MidiDeviceList.h"
#include "devices/dialogs/CMidiPortsDlg.h"
#include "devices/dialogs/CMidiSettingsDlg.h"

namespace zib {

namespace {

// The program's devices, looked at afresh.
const MidiDeviceList& currentDevices()
{
    MidiDeviceList& devices = MidiDeviceList::Default();
    devices.Refresh();
    return devices;
}

} // namespace

void ConnectMidiSetup(ZibSubsystems& subsystems)
{
    AddDeviceTestDialogs(subsystems);
    subsystems.MidiSettingsDialog = [](PlaybackValues& values) {
        const MidiDeviceList& devices = currentDevices();
        CMidiSettingsDlg dlg(CMainFrame::Get(), values, devices);
        if (dlg.ShowModal() != wxID_OK) return false;
        values = dlg.Values();
        return true;
    };
    subsystems.MidiPortsDialog = [](MidiPortsValues& values) {
        const MidiDeviceList& devices = currentDevices();
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
