#include "mididoc/MidiDocSubsystem.h"

#include "app/CMainFrame.h"
#include "app/CZibApp.h"
#include "app/CZibDocManager.h"
#include "app/CZibDocTemplate.h"
#include "app/ZibSubsystems.h"
#include "mididoc/core/CTrackNameSource.h"
#include "mididoc/core/MidiDocMenu.h"
#include "mididoc/CChildSplitterMidFrame.h"
#include "mididoc/CMidiEditFrameWndEx.h"
#include "mididoc/CMidiWindowTarget.h"
#include "mididoc/CMidiToolBarA.h"
#include "mididoc/CMidiToolBarB.h"
#include "mididoc/CMidiToolBarC.h"
#include "mididoc/CZibMidView.h"
#include "mididoc/MidiDialogRunners.h"
#include "mididoc/CZibMidWxDoc.h"

namespace zib {

namespace {

constexpr int kMidiTemplateId = 117;

// Port names as the MIDI device list names the user's ports, once it is built.
class CAppPortNames : public CTrackNameSource {
public:
    std::string OutPortName(int port, int channel) const override
    {
        if (wxTheApp && port >= 0 && port < 128) {
            const std::string& name = wxGetApp().m_MidiOutDeviceNames[size_t(port)];
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
    RegisterMidiDialogRunners();
    MidiWindowHooks().ActiveMidiTarget = [] { return ActiveMidiTarget(); };
    MidiWindowHooks().EditTrackProperties = [](CZibMidWxDoc& doc, int row, int column) {
        doc.Model().EditMidiTrackProperties(row, column);
    };
    MidiWindowHooks().OpenEventEditor = [](CZibMidWxDoc& doc, const std::vector<int>& rows) {
        if (CMainFrame* frame = CMainFrame::Get()) CMidiEditFrameWndEx::Open(*frame, doc, rows);
    };
    subsystems.CreateMidiControlBar = [](CMainFrame& frame, MainBar bar) -> wxWindow* {
        auto target = []() -> MidiPositionTarget* { return ActiveMidiTarget(); };
        const int language = wxGetApp().Language();
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
