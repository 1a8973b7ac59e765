// The style windows under a private Xvfb, as the GUI tests run them: the
// track parameters dialog of a Qe9z element (eight sound rows over the
// 1916-entry list) from construction to its first paint, and the refill of
// a virtual list of 64 and 640 rows (the list asks only for the rows it
// shows, so both should cost the same).
#include "tests/support/gui/TestShell.h"
#include "docs/style/CItemListCtrl.h"
#include "docs/style/core/QeStyleEditor.h"
#include "docs/style/core/TrackParamsDlgModel.h"
#include "docs/style/dialogs/CTrackParamsDlg.h"
#include "tests/support/gui/ZibSession.h"
#include "tests/support/QeEditorStyleBuilder.h"
#include "ulvarf/ulvarf.h"

#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <cstdlib>
#include <memory>
#include <wx/frame.h>
#include <wx/init.h>

// An application object made by wxInitializer (no window, no main loop), and
// the program's services as a window alone needs them.
wxIMPLEMENT_APP_NO_MAIN(wxApp);
static zib::test::TestShell testShell;

namespace {

using namespace zib;

// The windowing library on the private display, started once.
bool windowsReady()
{
    static std::unique_ptr<test::XvfbDisplay> display;
    static bool ready = false;
    if (display) return ready;
    display = std::make_unique<test::XvfbDisplay>();
    if (!display->ok()) return false;
    setenv("DISPLAY", display->name().c_str(), 1);
    setenv("GDK_BACKEND", "x11", 1);
    static int argc = 1;
    static char name[] = "style_windows_gui_bench";
    static char* argv[] = {name, nullptr};
    ready = wxEntryStart(argc, argv);
    return ready;
}

void BM_OpenTrackParamsDialogQe9z(benchmark::State& state)
{
    if (!windowsReady()) {
        state.SkipWithError("no display");
        return;
    }
    test::QeEditorStyleBuilder builder;
    _ULStESetQeVersion(builder.editor(), 1);
    builder.cvWithNotes(0, 0, {0, 1, 2, 3, 4, 5, 6, 7});
    LibraryQeStyleEditor::Made made = LibraryQeStyleEditor::FromItem(builder.resource());
    if (!made.editor) {
        state.SkipWithError("no style editor");
        return;
    }
    for (auto _ : state) {
        TrackParamsDlgModel model(*made.editor, 0, "Bench");
        CTrackParamsDlg dlg(nullptr, model);
        dlg.Show();
        dlg.Update();
        wxTheApp->ProcessPendingEvents();
        benchmark::DoNotOptimize(dlg.GetSize());
    }
}
BENCHMARK(BM_OpenTrackParamsDialogQe9z)->Unit(benchmark::kMillisecond);

class Rows : public CItemListSource, public ListCustomDraw {
public:
    std::string ListCellText(long row, long column) const override
    {
        return "Style " + std::to_string(row) + "/" + std::to_string(column);
    }
    int ListRowImage(long) const override { return -1; }
};

void BM_RefillVirtualList(benchmark::State& state)
{
    if (!windowsReady()) {
        state.SkipWithError("no display");
        return;
    }
    Rows rows;
    auto* frame = new wxFrame(nullptr, wxID_ANY, "List", wxDefaultPosition, wxSize(900, 600));
    auto* list = new CItemListCtrl(frame, rows, rows);
    for (int c = 0; c < 13; ++c)
        list->AppendColumn("C" + std::to_string(c), wxLIST_FORMAT_LEFT, 60);
    frame->Show();
    for (auto _ : state) {
        list->SetItemCount(state.range(0));
        list->RefreshItems(0, state.range(0) - 1);
        list->Update();
    }
    frame->Destroy();
}
BENCHMARK(BM_RefillVirtualList)->Arg(64)->Arg(640)->Unit(benchmark::kMillisecond);

} // namespace
