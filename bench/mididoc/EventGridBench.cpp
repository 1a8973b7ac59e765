// The MIDI windows' data on a synthetic 64-track song (50k, 200k and 400k
// events): a page of the event grid, what opening a MIDI window computes, and
// the event list's refresh after the Undo of a large delete.
#include "tests/support/gui/TestShell.h"
#include "ui/core/ZibSettings.h"
#include "mididoc/CEventGridTable.h"
#include "mididoc/core/CTrackListModel.h"
#include "ui/core/CTrackNameSource.h"
#include "mididoc/core/EventListModel.h"
#include "mididoc/core/MidiDocModel.h"
#include "tests/support/MemoryProfile.h"
#include "tests/support/BigSong.h"

#include <benchmark/benchmark.h>
#include <wx/app.h>

// An application object made by wxInitializer (no window, no main loop), and
// the program's services as a window alone needs them.
wxIMPLEMENT_APP_NO_MAIN(wxApp);
static zib::test::TestShell testShell;

namespace {

using namespace zib;

// Sizes are quarters of the 200k-event song: 50k, 200k and 400k events.

struct Doc {
    test::MemoryProfile profile;
    ZibSettings settings{profile};
    std::atomic<int> playing{0};
    MidiDocModel model{settings, playing};
    explicit Doc(int quarters) { model.OpenImage("/bench/Big.mid", test::BigSong(quarters)); }
};

void showAll(EventListModel& list)
{
    std::array<uint8_t, 65> shown{};
    shown.fill(1);
    list.SetShownTracks(shown);
    list.RefillRows();
}

// What a grid asks to paint one page: 40 rows of 9 cells, each its text and attributes.
size_t paintPage(CEventGridTable& table, int firstRow)
{
    size_t chars = 0;
    for (int row = firstRow; row < firstRow + 40 && row < table.GetNumberRows(); ++row)
        for (int col = 0; col < table.GetNumberCols(); ++col) {
            chars += table.GetValue(row, col).length();
            table.GetAttr(row, col, wxGridCellAttr::Any)->DecRef();
        }
    return chars;
}

// A page of the grid at the start (0), the middle (1) and the end (2) of the list.
void GridPage(benchmark::State& state)
{
    Doc doc(int(state.range(0)));
    EventListModel list(doc.model);
    showAll(list);
    CEventGridTable table(list);
    const int rows = table.GetNumberRows();
    const int first = state.range(1) == 0 ? 0 : state.range(1) == 1 ? rows / 2 : std::max(0, rows - 40);
    for (auto _ : state)
        benchmark::DoNotOptimize(paintPage(table, first));
    state.counters["rows"] = double(rows);
}
BENCHMARK(GridPage)->ArgsProduct({{1, 4, 8}, {0, 1, 2}})->Unit(benchmark::kMicrosecond);

// Opening a MIDI window: parse, track records, the 64 rows of the track
// list, the first fill of the whole-file list and its first page.
void OpenWindowData(benchmark::State& state)
{
    (void)test::BigSong(int(state.range(0))); // built once, outside the timing
    const CTrackNameSource names;
    for (auto _ : state) {
        auto doc = std::make_unique<Doc>(int(state.range(0)));
        CTrackListModel tracks(doc->model, names);
        size_t chars = 0;
        for (int row = 0; row < 64; ++row)
            for (int col = 0; col < CTrackListModel::kColumnCount; ++col) chars += tracks.CellText(row, col).size();
        EventListModel list(doc->model);
        showAll(list);
        CEventGridTable table(list);
        chars += paintPage(table, 0);
        benchmark::DoNotOptimize(chars);
        state.PauseTiming(); // freeing the document is not part of opening
        doc.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(OpenWindowData)->ArgsProduct({{1, 4, 8}})->Unit(benchmark::kMillisecond);

// Undo of a delete of a quarter of the events, and the list filled again.
void UndoDeleteRefresh(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        Doc doc(int(state.range(0)));
        EventListModel list(doc.model);
        showAll(list);
        std::vector<int> rows(63);
        for (int i = 0; i < 63; ++i) rows[size_t(i)] = i;
        const uint32_t end = doc.model.Sequence().GetSequenceEndTick();
        doc.model.DeleteFromThru(rows, 0, end / 4);
        list.RefillRows();
        state.ResumeTiming();
        doc.model.Undo();
        list.RefillRows();
        benchmark::DoNotOptimize(list.RowCount());
    }
}
BENCHMARK(UndoDeleteRefresh)->ArgsProduct({{1, 4, 8}})->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

