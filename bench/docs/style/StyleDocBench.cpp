// The style and pad documents on files of real size: opening Qe banks of
// 16 to 640 styles with their STS data and a pad file of 64 pads (with the
// peak of memory allocated while opening), the decompression the opening
// does, the row texts of 640 Qe rows through the sound tables' index and by
// walking the rows, pasting 64 Qe items, the Qe9z to Qe4k rewrite alone and
// in a paste of 32, event cleaning, a Wq track replaced, and Style To MIDI
// of 32 Qe styles.
#include "docs/style/core/CQeSoundTables.h"
#include "docs/style/core/CZibPadDoc.h"
#include "docs/style/core/CZibStyDoc.h"
#include "docs/style/core/Qe9zToQe4k.h"
#include "docs/style/core/StyListModel.h"
#include "docs/style/core/StyReports.h"
#include "docs/style/core/UlvaRfHandles.h"
#include "styles/CMidiToWqStyImporter.h"
#include "tests/support/DasfImageBuilder.h"
#include "tests/support/QeEditorStyleBuilder.h"
#include "tests/support/RealStyles.h"
#include "tests/support/SmfBuilder.h"
#include "tests/support/StyFileBuilder.h"
#include "tests/support/TempDir.h"
#include "tests/support/WqImageBuilder.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

// Bytes allocated through operator new, now and at the most since the last reset.
namespace {
std::atomic<size_t> g_now{0};
std::atomic<size_t> g_peak{0};
} // namespace

// Both halves out of line: inlined, gcc would see a block from malloc() reach
// operator delete, or one from operator new reach free(), and report a
// mismatched pair (-Wmismatched-new-delete) that it cannot see is ours.
[[gnu::noinline]] void* operator new(size_t size)
{
    void* p = std::malloc(size + sizeof(size_t));
    if (!p) throw std::bad_alloc();
    *static_cast<size_t*>(p) = size;
    const size_t now = g_now += size;
    size_t peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
    }
    return static_cast<size_t*>(p) + 1;
}

[[gnu::noinline]] void operator delete(void* p) noexcept
{
    if (!p) return;
    size_t* block = static_cast<size_t*>(p) - 1;
    g_now -= *block;
    std::free(block);
}

[[gnu::noinline]] void operator delete(void* p, size_t) noexcept
{
    operator delete(p);
}

namespace {

using namespace zib;

const std::vector<test::ConvertedPsrStyle>& realStyles()
{
    return test::convertedRealPsrStyles();
}

// A Qe style bank of `count` styles from the converted real PSR styles, each
// with STS data, in banks of 16 positions.
std::vector<uint8_t> styleBank(int count)
{
    const auto& styles = realStyles();
    std::vector<test::DasfResource> resources;
    for (int i = 0; i < count; ++i) {
        const auto& style = styles[size_t(i) % styles.size()];
        const uint8_t position = uint8_t(i % 32);
        resources.push_back(test::qeEntry(style.name.substr(0, 12) + std::to_string(i), 2, 3, position, style.instance));
        resources.push_back(test::stsDataEntry("Sts", 3, position, {0, 1}));
    }
    return test::dasfImage(resources);
}

// The serialised Qe style of the first real PSR style as a pad.
std::vector<uint8_t> padBank(int count)
{
    static const std::vector<uint8_t> pad = [] {
        test::QeEditorStyleBuilder b;
        b.cvWithNotes(0, 0, {0, 1, 2}, 2).cvWithNotes(0, 1, {0, 2}, 2).cvWithNotes(4, 0, {0}, 1);
        return b.resource();
    }();
    std::vector<test::DasfResource> resources;
    for (int i = 0; i < count; ++i) {
        test::DasfResource r = test::qeEntry("Pad" + std::to_string(i), 9, 3, uint8_t(i % 32), pad);
        resources.push_back(std::move(r));
    }
    return test::dasfImage(resources);
}

void BM_OpenQeStyleBank(benchmark::State& state)
{
    if (realStyles().empty()) return state.SkipWithError("no real PSR styles");
    const std::vector<uint8_t> image = styleBank(int(state.range(0)));
    size_t peak = 0;
    for (auto _ : state) {
        CZibStyDoc doc;
        g_peak = g_now.load();
        const size_t base = g_now;
        if (!doc.OpenImage(image, "/bench/Bank.sty")) return state.SkipWithError("open failed");
        peak = std::max(peak, g_peak - base);
        benchmark::DoNotOptimize(doc.m_StyItems.data());
    }
    state.counters["styles"] = double(state.range(0));
    state.counters["peak_MB"] = double(peak) / 1e6;
    state.counters["per_style"] =
        benchmark::Counter(double(state.range(0)), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(image.size()));
}
BENCHMARK(BM_OpenQeStyleBank)->Arg(16)->Arg(128)->Arg(640)->Unit(benchmark::kMillisecond);

void BM_OpenPadBank(benchmark::State& state)
{
    const std::vector<uint8_t> image = padBank(int(state.range(0)));
    size_t peak = 0;
    for (auto _ : state) {
        CZibPadDoc doc;
        g_peak = g_now.load();
        const size_t base = g_now;
        if (!doc.OpenImage(image, "/bench/Bank.pad")) return state.SkipWithError("open failed");
        peak = std::max(peak, g_peak - base);
        benchmark::DoNotOptimize(doc.m_PadItems.data());
    }
    state.counters["peak_MB"] = double(peak) / 1e6;
}
BENCHMARK(BM_OpenPadBank)->Arg(64)->Unit(benchmark::kMillisecond);

// The decompression of the styles that opening a bank does, on its own.
void BM_DecompressStyles(benchmark::State& state)
{
    if (realStyles().empty()) return state.SkipWithError("no real PSR styles");
    // Tagged as STS data (type 7), which the library hands out decompressed,
    // as the bank loader does.
    std::vector<UlrfResInstancePtr> resources;
    for (const auto& style : realStyles()) {
        std::vector<uint8_t> tagged = style.instance;
        tagged[0] = 7;
        resources.emplace_back(_ULRFCreateResInstance(tagged.data(), uint32_t(tagged.size())));
    }
    size_t bytes = 0;
    std::vector<uint8_t> out;
    for (auto _ : state) {
        for (auto& r : resources) {
            out.resize(size_t(_ULRFResInstanceSizeUnComp(r.get())));
            _ULRFPutResInstanceUnComp(r.get(), out.data(), uint32_t(out.size()));
            bytes += out.size();
        }
    }
    state.SetBytesProcessed(int64_t(bytes));
}
BENCHMARK(BM_DecompressStyles)->Unit(benchmark::kMicrosecond);

// 640 Qe rows with eight different sounds each.
CZibStyDoc rowsDocument()
{
    CZibStyDoc doc;
    doc.NewDocument();
    doc.m_Model = 'X';
    const auto& melodic = CQeSoundTables::BuiltIn().Rows(CQeSoundTables::Table::Qe9zMelodic);
    for (int r = 0; r < 640; ++r) {
        CStyItem item;
        item.SetName("Row");
        item.version = 1;
        item.data = {1};
        for (int e = 0; e < 10; ++e)
            for (int t = 0; t < 8; ++t) {
                const auto& row = melodic[size_t(r * 8 + t + e) % melodic.size()];
                item.sounds[size_t(e)][size_t(t)] = uint32_t(row.msb) << 24 | uint32_t(row.lsb) << 16 | row.program;
            }
        doc.m_StyItems.push_back(item);
    }
    return doc;
}

void BM_RowTextsThroughTheIndex(benchmark::State& state)
{
    const CZibStyDoc doc = rowsDocument();
    for (auto _ : state)
        for (int r = 0; r < 640; ++r)
            for (int c = 5; c <= 12; ++c)
                benchmark::DoNotOptimize(StyCellText(doc, r, c, 0));
}
BENCHMARK(BM_RowTextsThroughTheIndex)->Unit(benchmark::kMillisecond);

void BM_RowTextsByWalkingTheRows(benchmark::State& state)
{
    const CZibStyDoc doc = rowsDocument();
    const CQeSoundTables& tables = CQeSoundTables::BuiltIn();
    for (auto _ : state)
        for (int r = 0; r < 640; ++r)
            for (int t = 0; t < 8; ++t) {
                const uint32_t a = doc.m_StyItems[size_t(r)].sounds[0][size_t(t)];
                benchmark::DoNotOptimize(tables.FindLinear(1, uint8_t(a >> 24), uint8_t(a >> 16), uint8_t(a)));
            }
}
BENCHMARK(BM_RowTextsByWalkingTheRows)->Unit(benchmark::kMillisecond);

// A block of `count` Qe items of the real styles, version `version`.
StyClipboardBlock qeBlock(int count, uint8_t version)
{
    StyClipboardBlock block;
    block.model = version ? 'X' : 'F';
    block.fileKind = 2;
    block.selector = 1;
    block.contentCode = StyClipboardBlock::kQeStyles;
    for (int i = 0; i < count; ++i) {
        CStyItem item;
        if (version) {
            static const std::vector<uint8_t> nine = [] {
                test::QeEditorStyleBuilder b;
                b.cvWithNotes(0, 0, {0, 2, 3}, 2).cvWithNotes(4, 0, {0}, 1).cvWithNotes(10, 0, {2}, 1);
                _ULStESetQeVersion(b.editor(), 1);
                return b.resource();
            }();
            item.data = nine;
        } else {
            item.data = realStyles()[size_t(i) % realStyles().size()].instance;
        }
        item.version = version;
        item.SetName("Pasted");
        block.parts.push_back(StyClipboardBlock::QeStylePart(item, nullptr));
    }
    return block;
}

void BM_PasteQeItems(benchmark::State& state)
{
    if (realStyles().empty()) return state.SkipWithError("no real PSR styles");
    const StyClipboardBlock block = qeBlock(int(state.range(0)), 0);
    for (auto _ : state) {
        CZibStyDoc doc;
        doc.NewDocument();
        benchmark::DoNotOptimize(doc.PasteBlock(block, "OnEditPaste").rows.size());
    }
}
BENCHMARK(BM_PasteQeItems)->Arg(64)->Unit(benchmark::kMillisecond);

void BM_Qe9zToQe4kOneStyle(benchmark::State& state)
{
    const StyClipboardBlock block = qeBlock(1, 1);
    const auto part = StyClipboardBlock::ReadQePart(block.parts[0]);
    const std::vector<uint8_t> style(part->style.begin(), part->style.end());
    for (auto _ : state)
        benchmark::DoNotOptimize(ConvertQe9zStyleToQe4k(style).size());
}
BENCHMARK(BM_Qe9zToQe4kOneStyle)->Unit(benchmark::kMicrosecond);

void BM_PasteQe9zIntoQe4k(benchmark::State& state)
{
    if (realStyles().empty()) return state.SkipWithError("no real PSR styles");
    const StyClipboardBlock block = qeBlock(int(state.range(0)), 1);
    const std::vector<uint8_t> four = styleBank(1);
    for (auto _ : state) {
        CZibStyDoc doc;
        doc.OpenImage(four, "/bench/Four.sty");
        benchmark::DoNotOptimize(doc.PasteBlock(block, "OnEditPaste").rows.size());
    }
    state.counters["per_style"] =
        benchmark::Counter(double(state.range(0)), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PasteQe9zIntoQe4k)->Arg(8)->Arg(32)->Unit(benchmark::kMillisecond);

// A Wq style whose 216 tracks hold `perTrack` events, every fourth a controller.
std::vector<uint8_t> busyWqStyle(int perTrack)
{
    test::WqImageBuilder b = test::WqImageBuilder::fromEmptyItem('M');
    b.name("Busy");
    for (int e = 0; e < 10; ++e)
        for (int c = 0; c < (e < 4 ? 6 : 2); ++c) {
            b.cv(e, c, 0, 1);
            for (int t = 0; t < 6; ++t) {
                test::WqEvents events{test::WqEv::bar(0)};
                for (int i = 0; i < perTrack; ++i)
                    events.push_back(i % 4 == 0 ? test::WqEv::control(uint16_t(i), 7, 100)
                                                : test::WqEv::note(uint16_t(i), uint8_t(40 + t), 90, 10));
                events.push_back(test::WqEv::end(0));
                b.slot(e, c, t, events);
            }
        }
    return b.build();
}

void BM_CleanStyleEvents(benchmark::State& state)
{
    const std::vector<uint8_t> style = busyWqStyle(int(state.range(0)));
    CleanEventsChoice controls;
    controls.control = true;
    for (auto _ : state) {
        std::vector<uint8_t> data = style;
        benchmark::DoNotOptimize(CleanWqStyleEvents(data, 'M', controls));
    }
    state.counters["events"] = double(216 * state.range(0));
    state.counters["per_event"] =
        benchmark::Counter(double(216 * state.range(0)), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_CleanStyleEvents)->Arg(8)->Arg(32)->Arg(64)->Unit(benchmark::kMicrosecond);

// One drum track of `notes` notes as a format-1 MIDI file.
std::vector<uint8_t> drumTrack(int notes)
{
    test::SmfBuilder smf(1, 96);
    smf.AddTrack().TimeSig(0, 4, 2).EndAt(1536);
    test::SmfTrack& track = smf.AddTrack();
    for (int i = 0; i < notes; ++i) {
        track.NoteOn(uint32_t(i * 1536 / notes), 9, 36 + i % 8, 100);
        track.NoteOff(uint32_t(i * 1536 / notes + 4), 9, 36 + i % 8);
    }
    track.EndAt(1536);
    return smf.Build();
}

void BM_ReplaceWqTrackData(benchmark::State& state)
{
    const std::vector<uint8_t> style = busyWqStyle(int(state.range(0)));
    const std::vector<uint8_t> midi = drumTrack(48);
    CZibStyDoc doc;
    doc.OpenImage(test::wqStyleFile('M', {style}), "/bench/w.sty");
    int replaced = 0;
    for (auto _ : state) {
        doc.m_StyItems[0].data = style;
        replaced += doc.ReplaceWqTrackData(0, midi, 0, 0, 0);
    }
    if (replaced != int(state.iterations()))
        state.SkipWithError(("the track was not replaced: " + ImportMidiToWqTrack(midi, 'M', 0, 0).errorText).c_str());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(style.size()));
}
BENCHMARK(BM_ReplaceWqTrackData)->Arg(8)->Arg(32)->Arg(64)->Unit(benchmark::kMicrosecond);

void BM_QeStylesToMidi(benchmark::State& state)
{
    if (realStyles().empty()) return state.SkipWithError("no real PSR styles");
    const int count = int(state.range(0));
    CZibStyDoc doc;
    doc.OpenImage(styleBank(count), "/bench/Bank.sty");
    StyDocSettings settings;
    settings.styToMidiType = 0;
    doc.SetSettings(settings);
    std::vector<int> rows;
    for (int r = 0; r < doc.StyCount(); ++r)
        if (doc.m_StyItems[size_t(r)].Size()) rows.push_back(r);
    test::TempDir dir;
    int converted = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove_all(dir.path());
        std::filesystem::create_directories(dir.path());
        state.ResumeTiming();
        converted = doc.StylesToMidi(rows, dir.path());
    }
    state.counters["converted"] = converted;
    state.counters["per_style"] =
        benchmark::Counter(double(rows.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_QeStylesToMidi)->Arg(8)->Arg(32)->Unit(benchmark::kMillisecond);

} // namespace
