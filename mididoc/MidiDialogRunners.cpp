#include "mididoc/MidiDialogRunners.h"

#include "app/CTestDriver.h"
#include "mididoc/dialogs/CMarkerDlg.h"
#include "mididoc/dialogs/CMetronomDlg.h"
#include "mididoc/dialogs/CMidiRecordSettingsDlg.h"
#include "mididoc/dialogs/CPasteEventsDlg.h"
#include "mididoc/dialogs/CShiftEventsDlg.h"
#include "mididoc/dialogs/CTempoDlg.h"
#include "mididoc/dialogs/CTrackPropertiesDlg.h"

#include <string>

namespace zib {

namespace {

// 4/4 at 96 ticks per quarter.
class FourFour : public MeasureContext {
public:
    uint32_t ToTick(uint32_t bar, uint32_t beat, uint32_t tick) const override { return bar * 384 + beat * 96 + tick; }
    PositionRecord FromTick(uint32_t t) const override { return {t, t / 384, t % 384 / 96, t % 96}; }
};
const FourFour fourFour;

std::string result(int r)
{
    return " result=" + std::to_string(r);
}

} // namespace

void RegisterMidiDialogRunners()
{
    CTestDriver::RegisterDialog("record-settings", [](wxWindow* parent) {
        CMidiRecordSettingsDlg dlg(parent, 0x8001);
        const int r = dlg.ShowModal();
        return "record-settings:" + result(r) + " mask=" + std::to_string(dlg.EchoMask());
    });
    CTestDriver::RegisterDialog("tempo", [](wxWindow* parent) {
        CTempoDlg dlg(parent, 300, 384, &fourFour);
        const int r = dlg.ShowModal();
        return "tempo:" + result(r) + " bpm=" + std::to_string(dlg.Tempo()) + " tick=" + std::to_string(dlg.Tick());
    });
    CTestDriver::RegisterDialog("marker", [](wxWindow* parent) {
        CMarkerDlg dlg(parent, "Create Meta Event - Marker", "Verse", 96, &fourFour);
        const int r = dlg.ShowModal();
        return "marker:" + result(r) + " text=" + dlg.Text() + " tick=" + std::to_string(dlg.Tick());
    });
    CTestDriver::RegisterDialog("shift-events", [](wxWindow* parent) {
        CShiftEventsDlg dlg(parent, 384, 384, &fourFour);
        const int r = dlg.ShowModal();
        return "shift-events:" + result(r) + " to=" + std::to_string(dlg.ToTick());
    });
    CTestDriver::RegisterDialog("paste-events", [](wxWindow* parent) {
        PasteOptions given;
        given.kinds = {false, false, true, false};
        CPasteEventsDlg dlg(parent, given, &fourFour);
        const int r = dlg.ShowModal();
        const PasteOptions& o = dlg.Options();
        return "paste-events:" + result(r) + " tick=" + std::to_string(o.startTick) +
               " track=" + std::to_string(o.startTrack) + " one=" + std::to_string(o.oneTrack) +
               " kinds=" + std::to_string(o.kinds[0]) + std::to_string(o.kinds[1]) + std::to_string(o.kinds[2]) +
               std::to_string(o.kinds[3]);
    });
    CTestDriver::RegisterDialog("metronome", [](wxWindow* parent) {
        MetronomeSettings given;
        given.channel = 20;
        given.mode = MetronomeSettings::kAlways;
        given.firstBeatKey = 76;
        CMetronomDlg dlg(parent, given, 2);
        const int r = dlg.ShowModal();
        const MetronomeSettings& m = dlg.Settings();
        return "metronome:" + result(r) + " when=" + std::to_string(m.mode) + " channel=" +
               std::to_string(m.channel) + " port=" + std::to_string(m.port) + " precount=" +
               std::to_string(m.precountNumber) + " firstkey=" + std::to_string(m.firstBeatKey);
    });
    CTestDriver::RegisterDialog("track-properties", [](wxWindow* parent) {
        TrackProperties values;
        values.trackNumber = 2;
        values.name = "Bass";
        values.channel = 1;
        values.input = 18 | 0x8001u << 16;
        values.bank = 0;
        values.program = 5;
        TrackPropertiesSources sources;
        sources.outDeviceCount = 1;
        sources.outPorts[0] = {0, 1};
        sources.portNames[0] = "Synth";
        CTrackPropertiesDlg dlg(parent, values, sources, nullptr);
        const int r = dlg.ShowModal();
        const TrackProperties& t = dlg.Result();
        return "track-properties:" + result(r) + " title=" + std::string(dlg.GetTitle().utf8_str()) +
               " name=" + t.name + " channel=" + std::to_string(t.channel) + " input=" + std::to_string(t.input) +
               " bank=" + std::to_string(t.bank) + " program=" + std::to_string(t.program) +
               " volume=" + std::to_string(t.volume) + " changed=" + std::to_string(t.changed);
    });
}

} // namespace zib
