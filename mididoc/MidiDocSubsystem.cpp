#include "mididoc/MidiDocSubsystem.h"

#include "app/CMainFrame.h"
#include "app/CZibApp.h"
#include "app/CZibDocManager.h"
#include "app/CZibDocTemplate.h"
#include "app/ZibSubsystems.h"
#include "mididoc/core/CTrackNameSource.h"
#include "mididoc/core/MidiDocMenu.h"
#include "mididoc/CChildSplitterMidFrame.h"
#include "devices/CZibMidBarView.h"
#include "devices/core/BarGridModel.h"
#include "mididoc/CMidiEditFrameWndEx.h"
#include "mididoc/CMidiWindowPlayer.h"
#include "mididoc/CTrackListCtrl.h"
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

// Script lines of the test driver:
//   midi-rows                  writes the first rows shown by the active MIDI window's list and grid
//   midi-scroll list|grid ROW  scrolls the list or the grid as the user would, to that first row
bool runTestCommand(const std::vector<std::string>& w, const std::function<void(const std::string&)>& log)
{
    const std::string verb = w.empty() ? std::string() : w[0];
    if (verb != "midi-rows" && verb != "midi-scroll") return false;
    CMainFrame* frame = CMainFrame::Get();
    auto* child = frame ? dynamic_cast<CChildSplitterMidFrame*>(frame->ActiveZibChild()) : nullptr;
    CZibMidWxDoc* doc = child ? CZibMidWxDoc::OfWindow(child) : nullptr;
    CTrackListCtrl* list = doc && doc->TrackView() ? doc->TrackView()->TrackList() : nullptr;
    if (!list || !child->Player()) {
        log(verb + ": no MIDI window");
        return true;
    }
    CZibMidBarView& grid = child->Player()->View();
    if (verb == "midi-scroll" && w.size() > 2) {
        const int row = std::atoi(w[2].c_str());
        if (w[1] == "grid") {
            grid.ScrollToVPos(row * BarGridModel::kRowHeight);
        } else {
            list->Scroll(-1, row);
        }
        wxTheApp->ProcessPendingEvents();
        log("midi-scroll " + w[1] + " " + w[2]);
        return true;
    }
    wxRect item;
    list->GetItemRect(0, item);
    int x = 0, top = 0;
    list->GetViewStart(&x, &top); // the report list scrolls by rows
    log("midi-rows: list=" + std::to_string(top) + " grid=" +
        std::to_string(grid.ScrollY() / BarGridModel::kRowHeight) + " height=" + std::to_string(item.height));
    return true;
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
    subsystems.TestCommands.push_back(runTestCommand);
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
