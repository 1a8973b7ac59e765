#include "mididoc/MidiDocSubsystem.h"

#include "mididoc/CChildSplitterMidFrame.h"
#include "mididoc/CMidiEditFrameWndEx.h"
#include "mididoc/CMidiToolBarA.h"
#include "mididoc/CMidiToolBarB.h"
#include "mididoc/CMidiToolBarC.h"
#include "mididoc/CMidiWindowPlayer.h"
#include "mididoc/CMidiWindowTarget.h"
#include "mididoc/CMidiWxDialogs.h"
#include "mididoc/CTrackEditorLink.h"
#include "mididoc/CZibEventClipboard.h"
#include "mididoc/CZibMidView.h"
#include "mididoc/CZibMidWxDoc.h"
#include "mididoc/MidiDialogRunners.h"
#include "mididoc/core/MidiDocHooks.h"
#include "mididoc/core/MidiDocMenu.h"
#include "ui/CZibDocManager.h"
#include "ui/CZibDocTemplate.h"
#include "ui/ShellServices.h"
#include "ui/ZibSubsystems.h"
#include "ui/core/CTrackNameSource.h"

namespace zib {

namespace {

constexpr int kMidiTemplateId = 117;

// Port names as the MIDI device list names the user's ports, once it is built.
class CAppPortNames : public CTrackNameSource {
public:
    std::string OutPortName(int port, int channel) const override
    {
        if (ShellServices::Get() && port >= 0 && port < 128) {
            const std::string& name = Shell().MidiOutDeviceNames()[size_t(port)];
            if (!name.empty()) return name;
        }
        return CTrackNameSource::OutPortName(port, channel);
    }
};

std::unique_ptr<CTrackNameSource>& nameSource()
{
    static std::unique_ptr<CTrackNameSource> source = std::make_unique<CAppPortNames>();
    return source;
}

} // namespace

MidiDocumentHooks& MidiWindowHooks()
{
    static MidiDocumentHooks hooks;
    return hooks;
}

const CTrackNameSource& TrackNameSource()
{
    return *nameSource();
}

void SetTrackNameSource(std::unique_ptr<CTrackNameSource> source)
{
    if (source) nameSource() = std::move(source);
}

void AddMidiDocTemplate(CZibDocManager& manager)
{
    const ZibDocTemplateInfo* info = FindZibDocTemplate(kMidiTemplateId);
    if (!info) return;
    // The document manager owns its templates.
    new CZibDocTemplate(&manager, *info, CLASSINFO(CZibMidWxDoc), CLASSINFO(CZibMidView),
                        CLASSINFO(CChildSplitterMidFrame), MidiDocMenuDef());
}

void ConnectMidiDocument(ZibSubsystems& subsystems)
{
    subsystems.AddDocTemplates.push_back(&AddMidiDocTemplate);
    // The track editors of the style and pad windows
    subsystems.OpenStyTrackEditFrame = [](const TrackEditRequest& request) { return CTrackEditorLink::Open(request); };
    subsystems.OpenPadTrackEditFrame = subsystems.OpenStyTrackEditFrame;
    // The track editors' lists copy, paste, ask and report as the MIDI
    // document's lists do.
    subsystems.FillTrackEditorHooks = [](MidiDocHooks& hooks) {
        static CMidiWxDialogs dialogs;
        hooks.dialogs = &dialogs;
        hooks.reports = &dialogs;
        hooks.clipboard = &CZibEventClipboard::Instance();
        hooks.names = MidiWindowHooks().Names;
    };
    RegisterMidiDialogRunners();
    MidiWindowHooks().ActiveMidiTarget = [] { return ActiveMidiTarget(); };
    MidiWindowHooks().EditTrackProperties = [](CZibMidWxDoc& doc, int row, int column) {
        doc.Model().EditMidiTrackProperties(row, column);
    };
    MidiWindowHooks().OpenEventEditor = [](CZibMidWxDoc& doc, const std::vector<int>& rows) {
        if (ZibMdiParentFrame* frame = ShellFrame()) CMidiEditFrameWndEx::Open(*frame, doc, rows);
    };
    subsystems.CreateMidiControlBar = [](ZibMdiParentFrame& frame, MainBar bar) -> wxWindow* {
        auto target = []() -> MidiPositionTarget* { return ActiveMidiTarget(); };
        const int language = Shell().Language();
        switch (bar) {
        case MainBar::MidiPosition:
            return new CMidiToolBarA(&frame, target, language);
        case MainBar::MidiSelection:
            return new CMidiToolBarB(&frame, target, language);
        case MainBar::MidiTempo:
            return new CMidiToolBarC(&frame, target, language);
        default:
            return nullptr;
        }
    };
}

} // namespace zib
