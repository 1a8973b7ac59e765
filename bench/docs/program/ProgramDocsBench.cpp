// The program area's documents at the sizes users meet: opening files,
// refilling lists, converting whole banks, and the clipboard blocks.
// Targets: Wq .PRG and .ARR opens under 5 ms; Qe .PCG of 128 programs and
// .PRF of 64 performances under 100 ms; a 2000-resource container under 1 s,
// linear in its size; list refills of 2000 program rows and 128 arrangement
// rows under 20 ms; full-bank conversions under 5 ms each (64 Qe9z
// performances under 50 ms); a 138-item block encoded and decoded, and 138
// dropped items moved to row 0, under 20 ms.
#include "docs/program/core/ArrConversion.h"
#include "docs/program/core/ArrDocModel.h"
#include "docs/program/core/ArrListModel.h"
#include "docs/program/core/ItemBlocks.h"
#include "docs/program/core/ItemRows.h"
#include "docs/program/core/PcgDocModel.h"
#include "docs/program/core/PcgListModel.h"
#include "docs/program/core/PrfDocModel.h"
#include "docs/program/core/PrfListModel.h"
#include "docs/program/core/WqPcgConversions.h"
#include "platform/FileIo.h"
#include "tests/support/ArrFileBuilder.h"
#include "tests/support/DasfImageBuilder.h"
#include "tests/support/PcgFileBuilder.h"
#include "tests/support/PrfFileBuilder.h"
#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>

using namespace zib;

namespace {

// A Qe program container of `count` programs of about 2 KB each.
std::vector<uint8_t> qeContainer(int count, size_t payload = 2048)
{
    std::vector<test::DasfResource> resources;
    for (int i = 0; i < count; ++i) {
        test::DasfResource r;
        r.name = "Program " + std::to_string(i);
        r.type = 4;
        r.user1 = 9;
        r.user2 = uint8_t(i % 128);
        r.chunk = {0x0C, 0, 0, 0x10, uint8_t(payload >> 24), uint8_t(payload >> 16), uint8_t(payload >> 8),
                   uint8_t(payload)};
        for (size_t b = 0; b < payload; ++b)
            r.chunk.push_back(uint8_t(b * 5 + size_t(i)));
        resources.push_back(std::move(r));
    }
    return test::dasfImage(resources);
}

void OpenWqPrg(benchmark::State& state)
{
    test::TempDir dir;
    const auto file = (dir.path() / "bank.prg").string();
    writeFileAtomically(file, test::WqPcgBuilder('I').image());
    for (auto _ : state) {
        PcgDocModel doc;
        benchmark::DoNotOptimize(doc.OnOpenDocument(file));
    }
}
BENCHMARK(OpenWqPrg)->Unit(benchmark::kMillisecond);

void OpenArrWithSiblings(benchmark::State& state)
{
    test::TempDir dir;
    const auto file = (dir.path() / "set.arr").string();
    writeFileAtomically(file, test::ArrFileBuilder('I', 2).image());
    writeFileAtomically(dir.path() / "set.sty", test::userStyleFile('I', {"Mine"}));
    writeFileAtomically(dir.path() / "set.prg", test::userProgramFile('I', {"Lead"}));
    for (auto _ : state) {
        ArrDocModel doc;
        benchmark::DoNotOptimize(doc.OnOpenDocument(file));
        if (!doc.userStyleNamesRead || !doc.userProgramNamesRead) state.SkipWithError("siblings not read");
    }
}
BENCHMARK(OpenArrWithSiblings)->Unit(benchmark::kMillisecond);

void OpenQePcg(benchmark::State& state)
{
    test::TempDir dir;
    const auto file = (dir.path() / "qe.pcg").string();
    writeFileAtomically(file, qeContainer(int(state.range(0))));
    for (auto _ : state) {
        PcgDocModel doc;
        benchmark::DoNotOptimize(doc.OnOpenDocument(file));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(OpenQePcg)->Arg(128)->Arg(250)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond)->Complexity();

void OpenQePrf(benchmark::State& state)
{
    test::TempDir dir;
    std::vector<test::QePerformance> performances;
    for (int i = 0; i < 64; ++i)
        performances.push_back({"Performance " + std::to_string(i), 17, uint8_t(i), test::performanceData(4, uint8_t(i), 900)});
    const auto file = (dir.path() / "live.prf").string();
    writeFileAtomically(file, test::qePrfImage(performances));
    for (auto _ : state) {
        PrfDocModel doc;
        benchmark::DoNotOptimize(doc.OnOpenDocument(file));
    }
}
BENCHMARK(OpenQePrf)->Unit(benchmark::kMillisecond);

void RefillQeProgramList(benchmark::State& state)
{
    PcgDocModel doc;
    doc.OpenImage("qe.pcg", qeContainer(128, 64));
    // 2000 rows: the list's texts do not depend on the data.
    while (doc.ProgramCount() < 2000)
        doc.programs.push_back(doc.programs[size_t(doc.ProgramCount()) % 128]);
    PcgListModel list(doc);
    for (auto _ : state)
        for (int row = 0; row < list.RowCount(); ++row)
            for (int column = 0; column < 10; ++column)
                benchmark::DoNotOptimize(list.CellText(row, column));
}
BENCHMARK(RefillQeProgramList)->Unit(benchmark::kMillisecond);

void RefillArrangementListNames(benchmark::State& state)
{
    ArrDocModel doc;
    doc.OpenImage("set.arr", test::ArrFileBuilder('I', 2).image());
    ArrListModel list(doc);
    list.ColumnClicked(4); // the name form
    for (auto _ : state)
        for (int row = 0; row < list.RowCount(); ++row)
            for (int column = 0; column < 13; ++column)
                benchmark::DoNotOptimize(list.CellText(row, column));
}
BENCHMARK(RefillArrangementListNames)->Unit(benchmark::kMillisecond);

void ConvertWq8ProgramsToWq41(benchmark::State& state)
{
    std::vector<std::vector<uint8_t>> records;
    for (int i = 0; i < 138; ++i)
        records.push_back(test::wqProgramRecord('9', "P", uint8_t(i)));
    for (auto _ : state)
        for (const auto& r : records)
            benchmark::DoNotOptimize(Wq8ProgramToFamilyB(r, builtInWq8SoundMap()));
}
BENCHMARK(ConvertWq8ProgramsToWq41)->Unit(benchmark::kMillisecond);

void ConvertWq8DrumKitsToWqR65(benchmark::State& state)
{
    std::vector<std::vector<uint8_t>> kits;
    for (int i = 0; i < 16; ++i)
        kits.push_back(test::wqDrumKit('9', "K", uint8_t(i)));
    for (auto _ : state)
        for (const auto& k : kits)
            benchmark::DoNotOptimize(Wq8DrumKitToFamilyB(k, 14, builtInWq8DrumSoundMap()));
}
BENCHMARK(ConvertWq8DrumKitsToWqR65)->Unit(benchmark::kMillisecond);

// One bank of 138 arrangements through one of the twenty pairs.
void ConvertArrangements(benchmark::State& state)
{
    static constexpr int kModels[] = {'9', '<', 'H', 'I', 'M'};
    const int from = kModels[state.range(0) / 4];
    int to = 0;
    for (int i = 0, n = 0; i < 5; ++i)
        if (kModels[i] != from && n++ == state.range(0) % 4) to = kModels[i];
    std::vector<std::vector<uint8_t>> records;
    for (int i = 0; i < 138; ++i)
        records.push_back(test::arrRecord(from, "A", uint8_t(i), 2));
    for (auto _ : state)
        for (const auto& r : records)
            benchmark::DoNotOptimize(ConvertArrRecord(r, from, to, 2));
    state.SetLabel(std::string(1, char(from)) + "->" + char(to));
}
BENCHMARK(ConvertArrangements)->DenseRange(0, 19)->Unit(benchmark::kMillisecond);

void ConvertQe9zPerformances(benchmark::State& state)
{
    PrfDocModel doc;
    doc.OnNewDocument();
    PrfListModel list(doc);
    std::vector<std::vector<uint8_t>> performances;
    for (int i = 0; i < 64; ++i) {
        auto data = test::performanceData(4, uint8_t(i), 900);
        test::setPerformanceSound(data, 1, false, 121, 8, 0); // one sound to replace
        performances.push_back(std::move(data));
    }
    for (auto _ : state) {
        auto copies = performances;
        for (auto& p : copies)
            benchmark::DoNotOptimize(list.ConvertQe9zToQe4k(p, "P"));
    }
}
BENCHMARK(ConvertQe9zPerformances)->Unit(benchmark::kMillisecond);

void EncodeAndDecodeBlock(benchmark::State& state)
{
    PcgBlock block;
    block.model = 'I';
    block.fileKind = 11;
    for (int i = 0; i < 138; ++i)
        block.items.push_back({test::wqProgramRecord('I', "P", uint8_t(i)), 0, {}});
    for (auto _ : state) {
        const auto bytes = EncodePcgBlock(block);
        PcgBlock back;
        benchmark::DoNotOptimize(DecodePcgBlock(bytes, back));
    }
}
BENCHMARK(EncodeAndDecodeBlock)->Unit(benchmark::kMillisecond);

void DropReorderToRowZero(benchmark::State& state)
{
    ArrDocModel doc;
    doc.OpenImage("set.arr", test::ArrFileBuilder('I', 2).image());
    // 138 rows, and 138 dropped ones appended behind them.
    while (doc.items.size() < 276)
        doc.items.push_back(doc.items[doc.items.size() % 128]);
    for (auto _ : state) {
        auto items = doc.items;
        MoveAppendedTo(items, 138, 0);
        RenumberPositions(items);
        benchmark::DoNotOptimize(items);
    }
}
BENCHMARK(DropReorderToRowZero)->Unit(benchmark::kMillisecond);

} // namespace
