// The MIDI document core on a synthetic 64-track file of 200k events and on
// one four times that size: opening, the rows of the whole-file list, the
// large edits with their Undo and Redo, the text dumps and saving.
#include "ui/core/ZibSettings.h"
#include "tests/support/BuildPaths.h"
#include "mididoc/core/EventListDump.h"
#include "mididoc/core/EventListModel.h"
#include "mididoc/core/EventListDump.h"
#include "mididoc/core/MidiDocModel.h"
#include "mididoc/core/TempoTrackModel.h"
#include "tests/support/MemoryProfile.h"
#include "tests/support/BigSong.h"
#include "tests/support/MillionEventSong.h"
#include "tests/support/ProcessMemory.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace {

using namespace zib;

// The benchmark song: `scale` 1 gives about 200k events.
const std::vector<uint8_t>& song(int scale)
{
    return test::BigSong(4 * scale);
}

struct Doc {
    test::MemoryProfile profile;
    ZibSettings settings{profile};
    std::atomic<int> playing{0};
    MidiDocModel model{settings, playing};
    explicit Doc(int scale) { model.OpenImage("/bench/Big.mid", song(scale)); }
};

// Every track shown in the event list
void showAllTracks(EventListModel& list)
{
    std::array<uint8_t, 65> shown{};
    shown.fill(1);
    list.SetShownTracks(shown);
}

// Rows 0 .. n-1, as a selection
std::vector<int> leadingRows(size_t n)
{
    std::vector<int> rows(n);
    for (size_t i = 0; i < n; ++i)
        rows[i] = int(i);
    return rows;
}

void Open(benchmark::State& state)
{
    (void)song(int(state.range(0))); // the file is built once, outside the timing
    for (auto _ : state) {
        auto doc = std::make_unique<Doc>(int(state.range(0)));
        EventListModel list(doc->model);
        showAllTracks(list);
        list.RefillRows();
        benchmark::DoNotOptimize(list.RowCount());
        state.PauseTiming(); // freeing the document is not part of opening
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["events"] = double(Doc(int(state.range(0))).model.Sequence().GetEventCount());
    state.counters["bytes"] = double(song(int(state.range(0))).size());
}
BENCHMARK(Open)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

void RefillRows(benchmark::State& state)
{
    Doc doc(int(state.range(0)));
    EventListModel list(doc.model);
    showAllTracks(list);
    for (auto _ : state)
        benchmark::DoNotOptimize(list.RefillRows());
}
BENCHMARK(RefillRows)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

void TextDump(benchmark::State& state)
{
    Doc doc(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.model.DumpText("Big.mid"));
}
BENCHMARK(TextDump)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

// The file Save writes of a changed document: every track built from its
// events, its time signatures placed where the reader takes them
void SaveImage(benchmark::State& state)
{
    Doc doc(int(state.range(0)));
    doc.model.SetModified(true);
    for (auto _ : state) {
        bool ok = false;
        benchmark::DoNotOptimize(doc.model.BuildFileImage(ok));
    }
}
BENCHMARK(SaveImage)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

// ---- The large edits: each timed alone, the document put back untimed ----

std::vector<int> allRows()
{
    std::vector<int> rows(64);
    for (int i = 0; i < 64; ++i)
        rows[size_t(i)] = i;
    return rows;
}

// From-Thru of about 50k events of the 200k: a quarter of the song
uint32_t quarterEnd(const MidiDocModel& doc)
{
    return doc.Sequence().GetSequenceEndTick() / 4;
}

class BenchDialogs : public MidiDocDialogs {
public:
    uint32_t to = 0;
    int transpose = 3;
    std::optional<uint32_t> ShiftTo(const CMidiParserEx&, uint32_t, uint32_t) override { return to; }
    std::optional<int> TransposeAmount() override { return transpose; }
    std::optional<PasteDlgValues> PasteEvents(const CMidiParserEx&, const PasteDlgValues& v) override { return v; }
    std::optional<TimeSigDlgValues> TimeSignature(const CMidiParserEx&, const TimeSigDlgValues& v) override
    {
        TimeSigDlgValues out = v;
        out.numerator = 3;
        return out;
    }
};

class BlockClipboard : public EventClipboard {
public:
    std::vector<uint8_t> block;
    bool HasPrivateFormat() const override { return true; }
    Result Put(std::vector<uint8_t> b) override
    {
        block = std::move(b);
        return Result::Ok;
    }
    Result Get(std::vector<uint8_t>& b) override
    {
        b = block;
        return Result::Ok;
    }
};

struct EditDoc : Doc {
    BenchDialogs dialogs;
    BlockClipboard clipboard;
    explicit EditDoc(int scale) : Doc(scale)
    {
        MidiDocHooks hooks;
        hooks.dialogs = &dialogs;
        hooks.clipboard = &clipboard;
        model.SetHooks(hooks);
    }
};

// What each benchmark times: the edit, its Undo, or its Redo
enum Step { kEdit = 0, kUndo = 1, kRedo = 2 };

template <typename Edit>
void runSteps(benchmark::State& state, Edit edit)
{
    EditDoc doc(int(state.range(0)));
    const Step step = Step(state.range(1));
    for (auto _ : state) {
        if (step == kEdit) {
            edit(doc);
        } else {
            state.PauseTiming();
            edit(doc);
            if (step == kRedo) doc.model.Undo();
            state.ResumeTiming();
            if (step == kUndo) doc.model.Undo();
            if (step == kRedo) doc.model.Redo();
        }
        state.PauseTiming();
        if (step != kUndo) doc.model.Undo();
        state.ResumeTiming();
    }
}

void DeleteFromThru(benchmark::State& state)
{
    runSteps(state, [](EditDoc& d) { d.model.DeleteFromThru(allRows(), 0, quarterEnd(d.model)); });
}
BENCHMARK(DeleteFromThru)->ArgsProduct({{1, 4}, {kEdit, kUndo, kRedo}})->Unit(benchmark::kMillisecond);

void ShiftFromThru(benchmark::State& state)
{
    runSteps(state, [](EditDoc& d) {
        d.dialogs.to = 1000;
        d.model.ShiftSelectedTracksFromThru(allRows(), 0, quarterEnd(d.model));
    });
}
BENCHMARK(ShiftFromThru)->ArgsProduct({{1, 4}, {kEdit, kUndo}})->Unit(benchmark::kMillisecond);

// A quarter of the rows of the whole-file list shifted
void ShiftListRows(benchmark::State& state)
{
    runSteps(state, [](EditDoc& d) {
        EventListModel list(d.model);
        showAllTracks(list);
        list.RefillRows();
        const std::vector<int> rows = leadingRows(size_t(list.TrailingRow() / 4));
        d.dialogs.to = 1000;
        list.ShiftEvents(rows);
    });
}
BENCHMARK(ShiftListRows)->ArgsProduct({{1, 4}, {kEdit, kUndo}})->Unit(benchmark::kMillisecond);

// 10k events (5k notes) copied from one stretch and pasted into the document
void Paste(benchmark::State& state)
{
    EditDoc doc(int(state.range(0)));
    const Step step = Step(state.range(1));
    doc.model.m_RowSelected.fill(1);
    class Kinds : public BenchDialogs {
    public:
        std::optional<CopyEventKinds> CopyMidiEvents(const CopyEventKinds&) override { return CopyEventKinds{}; }
    };
    Kinds kinds;
    MidiDocHooks hooks;
    hooks.dialogs = &kinds;
    hooks.clipboard = &doc.clipboard;
    doc.model.SetHooks(hooks);
    // A note and half a controller per beat and track: about 10k records in 106 beats
    doc.model.CopyToClipboardFromThru(0, 384 * 106 - 1);
    for (auto _ : state) {
        if (step == kUndo) {
            state.PauseTiming();
            doc.model.OnEditPaste(384 * 200);
            state.ResumeTiming();
            doc.model.Undo();
        } else {
            doc.model.OnEditPaste(384 * 200);
            state.PauseTiming();
            doc.model.Undo();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(Paste)->ArgsProduct({{1, 4}, {kEdit, kUndo}})->Unit(benchmark::kMillisecond);

void SelectAllTranspose(benchmark::State& state)
{
    runSteps(state, [](EditDoc& d) {
        EventListModel list(d.model);
        showAllTracks(list);
        list.RefillRows();
        const std::vector<int> rows = leadingRows(size_t(list.RowCount()));
        list.TransposeEvents(rows);
    });
}
BENCHMARK(SelectAllTranspose)->ArgsProduct({{1, 4}, {kEdit}})->Unit(benchmark::kMillisecond);

void SelectAllDelete(benchmark::State& state)
{
    runSteps(state, [](EditDoc& d) {
        EventListModel list(d.model);
        showAllTracks(list);
        list.RefillRows();
        const std::vector<int> rows = leadingRows(size_t(list.RowCount()));
        list.DeleteSelectedEvents(rows);
    });
}
BENCHMARK(SelectAllDelete)->ArgsProduct({{1, 4}, {kEdit, kUndo}})->Unit(benchmark::kMillisecond);

// With 100 signatures in the map, one more re-times every event
void TimeSignatureChange(benchmark::State& state)
{
    EditDoc doc(int(state.range(0)));
    TempoTrackModel tempo(doc.model, TempoTrackModel::kTimeSignatures);
    tempo.RefillList();
    class At : public BenchDialogs {
    public:
        uint32_t measure = 0;
        std::optional<TimeSigDlgValues> TimeSignature(const CMidiParserEx&, const TimeSigDlgValues& v) override
        {
            TimeSigDlgValues out = v;
            out.measure = measure;
            out.numerator = uint8_t(3 + measure % 2);
            return out;
        }
    };
    At at;
    MidiDocHooks hooks;
    hooks.dialogs = &at;
    doc.model.SetHooks(hooks);
    for (uint32_t m = 1; m <= 100; ++m) {
        at.measure = m * 5;
        tempo.CreateTimeSigEvent(-1, false);
    }
    doc.model.UndoManager().ClearAll();
    const Step step = Step(state.range(1));
    at.measure = 2;
    for (auto _ : state) {
        if (step == kUndo) {
            state.PauseTiming();
            tempo.CreateTimeSigEvent(-1, false);
            state.ResumeTiming();
            doc.model.Undo();
        } else {
            tempo.CreateTimeSigEvent(-1, false);
            state.PauseTiming();
            doc.model.Undo();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(TimeSignatureChange)->ArgsProduct({{1, 4}, {kEdit, kUndo}})->Unit(benchmark::kMillisecond);

// ---- The editable sequence under every open ------------------------------

// About 4 MB of 1M events in 17 track chunks, written to the build folder for
// a side-by-side run of midicsv on the same file
const std::vector<uint8_t>& millionEvents()
{
    static const std::vector<uint8_t> image = [] {
        const auto& bytes = test::MillionEventSong();
        std::FILE* f = std::fopen((test::BinaryDir() / "bench/mididoc/MillionEvents.mid").c_str(), "wb");
        if (f) {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        return bytes;
    }();
    return image;
}

void ParseImage(benchmark::State& state)
{
    const auto& image = millionEvents();
    size_t events = 0;
    for (auto _ : state) {
        auto sequence = std::make_unique<CMidiParserEx>();
        benchmark::DoNotOptimize(sequence->ParseImage(image.data(), uint32_t(image.size())));
        events = sequence->GetEventCount();
        state.PauseTiming();
        sequence.reset();
        state.ResumeTiming();
    }
    state.counters["events"] = double(events);
    state.counters["bytes"] = double(image.size());
    // Memory held by the parsed sequence (the heap and the events' slabs), per event
    const long before = test::processMemory("VmRSS:");
    auto sequence = std::make_unique<CMidiParserEx>();
    sequence->ParseImage(image.data(), uint32_t(image.size()));
    state.counters["heldPerEvent"] = double(test::processMemory("VmRSS:") - before) / double(events);
}
BENCHMARK(ParseImage)->Unit(benchmark::kMillisecond);

void FreeSequence(benchmark::State& state)
{
    const auto& image = millionEvents();
    for (auto _ : state) {
        state.PauseTiming();
        auto sequence = std::make_unique<CMidiParserEx>();
        sequence->ParseImage(image.data(), uint32_t(image.size()));
        state.ResumeTiming();
        sequence.reset();
    }
}
BENCHMARK(FreeSequence)->Unit(benchmark::kMillisecond);

void DumpMillion(benchmark::State& state)
{
    test::MemoryProfile profile;
    ZibSettings settings{profile};
    std::atomic<int> playing{0};
    MidiDocModel model{settings, playing};
    model.OpenImage("/bench/MillionEvents.mid", millionEvents());
    for (auto _ : state)
        benchmark::DoNotOptimize(model.DumpText("MillionEvents.mid"));
}
BENCHMARK(DumpMillion)->Unit(benchmark::kMillisecond);

void ListDump(benchmark::State& state)
{
    Doc doc(int(state.range(0)));
    EventListModel list(doc.model);
    showAllTracks(list);
    list.RefillRows();
    for (auto _ : state)
        benchmark::DoNotOptimize(EventListTextDump(doc.model.Sequence(), "Big", EventTextStyle::ListDump, 0));
}
BENCHMARK(ListDump)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

} // namespace
