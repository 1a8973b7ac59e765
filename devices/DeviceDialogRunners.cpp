#include "devices/DeviceDialogRunners.h"

#include "ui/ShellServices.h"
#include "ui/core/ZibSettings.h"
#include "ui/DialogRegistry.h"
#include "devices/InstrumentsSubsystem.h"
#include "devices/core/CInstrumentStore.h"
#include "devices/dialogs/CRecordInputDlg.h"
#include "devices/dialogs/CStylePlaybackConsole.h"
#include "midi/CStyleMidiReader.h"

#include <array>
#include <vector>

namespace zib {

namespace {

// A one-track MIDI file at division 96: one note on channel 12 from 0 to 96,
// the track ending at 192.
std::vector<uint8_t> onePattern(uint8_t key)
{
    // clang-format off
    return {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,
            'M', 'T', 'r', 'k', 0, 0, 0, 12,
            0, 0x9B, key, 100,
            0x60, 0x8B, key, 64,
            0x60, 0xFF, 0x2F, 0};
    // clang-format on
}

// A Qe style of two variations, VAR1 and VAR2, in 4/4.
void buildSampleStyle(CStyleMidiReader& reader)
{
    reader.ResetElements();
    reader.modelCode = 70;
    const uint8_t keys[] = {60, 64};
    for (int element = 0; element < 2; ++element) {
        auto& e = reader.elements[size_t(element)];
        e.present = 1;
        e.timeSignature = 0x23;
        e.variations[0].firstEvent = uint32_t(reader.GetEventCount());
        e.variations[0].length = 192;
        const std::vector<uint8_t> image = onePattern(keys[element]);
        reader.ReadImage(image.data(), uint32_t(image.size()));
        reader.PairNotes(size_t(element), 0);
    }
}

std::string runConsole(wxWindow* parent)
{
    CStyleMidiReader reader;
    buildSampleStyle(reader);
    CStylePlaybackConsole console(
        parent, reader, "Sample",
        [](const CStyleMidiReader&, int element, int track) {
            return "Sound " + std::to_string(element) + "." + std::to_string(track);
        },
        Shell().Settings().MidiOutDevID, Shell().Settings().MidiInDevID);
    console.ShowModal();
    const StylePlayer& player = console.Player();
    return "console: lit=" + std::to_string(player.LitElement()) + " chord=" + player.ChordText() +
           " tempo=" + std::to_string(player.Tempo());
}

std::string runPortInstrument(wxWindow* parent)
{
    const int result = RunPortInstrumentDlg(parent, 0, 9);
    return "port-instrument: result=" + std::to_string(result) +
           " relations=" + std::to_string(AppInstruments().Relations().size());
}

std::string runRecordInput(wxWindow* parent)
{
    std::array<uint32_t, 64> codes{};
    codes[1] = 5;
    codes[2] = 18 | (1u << 0 | 1u << 9) << 16;
    CRecordInputDlg dlg(parent, codes, 70);
    const int r = dlg.ShowModal();
    std::string text = "record-input: result=" + std::to_string(r) + " codes=";
    for (int i = 0; i < 4; ++i)
        text += (i ? "," : "") + std::to_string(r == wxID_OK ? dlg.Codes()[size_t(i)] : codes[size_t(i)]);
    return text;
}

} // namespace

void RegisterDeviceDialogRunners()
{
    DialogRegistry::Add("console", runConsole);
    DialogRegistry::Add("port-instrument", runPortInstrument);
    DialogRegistry::Add("record-input", runRecordInput);
}

} // namespace zib
