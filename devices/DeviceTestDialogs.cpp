#include "devices/DeviceTestDialogs.h"

#include "app/ZibSubsystems.h"
#include "devices/InstrumentsSubsystem.h"
#include "devices/core/CInstrumentStore.h"
#include "devices/dialogs/CStylePlaybackConsole.h"
#include "midi/CStyleMidiReader.h"

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

bool runSample(const std::string& name, wxWindow* parent, const std::function<void(const std::string&)>& log)
{
    if (name == "console") {
        CStyleMidiReader reader;
        buildSampleStyle(reader);
        CStylePlaybackConsole console(
            parent, reader, "Sample",
            [](const CStyleMidiReader&, int element, int track) {
                return "Sound " + std::to_string(element) + "." + std::to_string(track);
            },
            0, 0);
        console.ShowModal();
        const StylePlayer& player = console.Player();
        log("console: lit=" + std::to_string(player.LitElement()) + " chord=" + player.ChordText() +
            " tempo=" + std::to_string(player.Tempo()));
        return true;
    }
    if (name == "port-instrument") {
        const int result = RunPortInstrumentDlg(parent, 0, 9);
        log("port-instrument: result=" + std::to_string(result) +
            " relations=" + std::to_string(AppInstruments().Relations().size()));
        return true;
    }
    return false;
}

} // namespace

void AddDeviceTestDialogs(ZibSubsystems& subsystems)
{
    subsystems.TestDialogs.push_back(runSample);
}

} // namespace zib
