#pragma once

class wxWindow;

namespace zib {

class CInstrumentStore;
struct ZibSubsystems;

// The program's instrument definitions and port-instrument relations: the
// store over the application object's arrays, with the program's windows for
// its messages. The MIDI views ask it for patch, bank, note and controller
// names by port and channel (GetPatchNameText ...).
CInstrumentStore& AppInstruments();

// Rebuilds the MIDI OUT port names and MIDI IN device names of the application.
void EnumMidiDevices();

// The Configure Instruments dialog on the instrument set.
void ConfigureInstruments(wxWindow* parent);

// The Port - Instrument Relation dialog, after loading the instruments and
// relations and naming the devices; wxID_OK when the user pressed OK. The
// caller saves the relations (AppInstruments().SavePortInstrumentRelations()).
int RunPortInstrumentDlg(wxWindow* parent, int initialPort, int initialChannel);

// The "&Instruments" command: the relation dialog with no port preselected,
// then the relations are saved whatever the dialog returned.
void RunInstrumentsCommand();

// Wires the instrument services into the shell.
void ConnectInstruments(ZibSubsystems& subsystems);

} // namespace zib
