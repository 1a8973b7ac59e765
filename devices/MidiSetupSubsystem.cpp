#include "devices/MidiSetupSubsystem.h"

#include "ui/ShellServices.h"
#include "ui/ZibSubsystems.h"
#include "devices/DeviceDialogRunners.h"
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
    RegisterDeviceDialogRunners();
    subsystems.MidiSettingsDialog = [](PlaybackValues& values) {
        const MidiDeviceList& devices = currentDevices();
        CMidiSettingsDlg dlg(ShellFrame(), values, devices);
        if (dlg.ShowModal() != wxID_OK) return false;
        values = dlg.Values();
        return true;
    };
    subsystems.MidiPortsDialog = [](MidiPortsValues& values) {
        const MidiDeviceList& devices = currentDevices();
        CMidiPortsDlg dlg(ShellFrame(), values, devices);
        if (dlg.ShowModal() != wxID_OK) return false;
        values = dlg.Values();
        // Relations of ports that are no longer enabled go with them.
        CInstrumentStore& store = AppInstruments();
        if (store.LoadPortInstrumentRelations()) store.PurgePortInstrumentRelations(values.out);
        return true;
    };
}

} // namespace zib
