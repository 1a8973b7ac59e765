#include "mididoc/MidiDialogRunners.h"

#include "ui/ShellServices.h"
#include "ui/core/ZibSettings.h"
#include "ui/DialogRegistry.h"
#include "mididoc/CEventListCtrl.h"
#include "mididoc/CMidiEditPadTrackFrameWnd.h"
#include "mididoc/CZibEventClipboard.h"
#include "mididoc/core/CEventListParser.h"
#include "mididoc/core/TrackEditorHost.h"
#include "mididoc/core/TrackEditorOwner.h"
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

// A pad document as the pad window would stand behind a track editor: a
// chord variation exported as a format-0 file with a program change, a note
// and a VEX Noise note on channel 1, parsed as the tree view parses it.
class FakePadHost : public TrackEditorHost {
public:
    explicit FakePadHost(uint32_t modelLetter)
        : m_owner(EventListOwner::kPadDocument, modelLetter, Shell().Settings(), m_playing, hooks())
    {
        static const uint8_t image[] = {
            'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k', 0, 0, 0, 39,
            0x00, 0xC0, 0x05,                                                       // program 5
            0x00, 0x90, 0x3C, 0x64, 0x30, 0x80, 0x3C, 0x00,                         // C4
            0x00, 0xF0, 0x09, 0x42, 0x3F, 0x78, 0x00, 0x01, 0x00, 0x24, 0x64, 0xF7, // VEX Noise on
            0x30, 0xF0, 0x09, 0x42, 0x3F, 0x78, 0x00, 0x00, 0x00, 0x24, 0x00, 0xF7, // and off
            0x00, 0xFF, 0x2F, 0x00};
        m_sequence.ParseImage(image, sizeof image);
        m_owner.BindSequence(&m_sequence);
    }
    TrackEditorOwner& Owner() override { return m_owner; }
    void SetItemIcon(bool holdsEvents) override { icon = holdsEvents ? 1 : 0; }
    void AbortAndClear() override {}
    void EditorClosed() override { m_owner.BindSequence(nullptr); }
    int icon = -1;

private:
    static MidiDocHooks hooks()
    {
        MidiDocHooks h;
        h.clipboard = &CZibEventClipboard::Instance();
        return h;
    }
    std::atomic<int> m_playing{0};
    CEventListParser m_sequence;
    TrackEditorOwner m_owner;
};

std::string result(int r)
{
    return " result=" + std::to_string(r);
}

} // namespace

void RegisterMidiDialogRunners()
{
    // A pad-track editor over a fake pad (Qe4k or Wq8): it stays open for the script.
    for (const auto& pad : {std::pair{"pad-track-editor-qe", uint32_t('F')}, {"pad-track-editor-wq", uint32_t('9')}}) {
        const std::string name = pad.first;
        const uint32_t letter = pad.second;
        DialogRegistry::Add(name, [name, letter](wxWindow*) {
            static std::unique_ptr<FakePadHost> host;
            host = std::make_unique<FakePadHost>(letter);
            ZibMdiParentFrame* frame = ShellFrame();
            if (!frame) return name + ": no frame";
            auto* editor = CMidiEditPadTrackFrameWnd::Open(*frame, "Pad - EventList - VAR1CV1 DRUM", *host, 0);
            return name + ": rows=" + std::to_string(editor->List().GetNumberRows());
        });
    }
    DialogRegistry::Add("record-settings", [](wxWindow* parent) {
        CMidiRecordSettingsDlg dlg(parent, 0x8001);
        const int r = dlg.ShowModal();
        return "record-settings:" + result(r) + " mask=" + std::to_string(dlg.EchoMask());
    });
    DialogRegistry::Add("tempo", [](wxWindow* parent) {
        CTempoDlg dlg(parent, 300, 384, &fourFour);
        const int r = dlg.ShowModal();
        return "tempo:" + result(r) + " bpm=" + std::to_string(dlg.Tempo()) + " tick=" + std::to_string(dlg.Tick());
    });
    DialogRegistry::Add("marker", [](wxWindow* parent) {
        CMarkerDlg dlg(parent, "Create Meta Event - Marker", "Verse", 96, &fourFour);
        const int r = dlg.ShowModal();
        return "marker:" + result(r) + " text=" + dlg.Text() + " tick=" + std::to_string(dlg.Tick());
    });
    DialogRegistry::Add("shift-events", [](wxWindow* parent) {
        CShiftEventsDlg dlg(parent, 384, 384, &fourFour);
        const int r = dlg.ShowModal();
        return "shift-events:" + result(r) + " to=" + std::to_string(dlg.ToTick());
    });
    DialogRegistry::Add("paste-events", [](wxWindow* parent) {
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
    DialogRegistry::Add("metronome", [](wxWindow* parent) {
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
    DialogRegistry::Add("track-properties", [](wxWindow* parent) {
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
