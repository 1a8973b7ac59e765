// The instrument files: reading a large .INS file (both passes of the
// parser) and writing the program's instrument file for many instruments.
// Targets: a 50k-line file in at most 100 ms; Zib.icf of 2000 instruments
// with 5 lists each in at most 200 ms, and twice the instruments in at most
// 2.5 times that.
#include "devices/core/CInstrumentDefs.h"
#include "devices/core/InsFileWriter.h"
#include "platform/FileIo.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using namespace zib;

// A definition file of `lists` patch lists of 128 names and one instrument
// per 4 lists naming them by bank: about 130 lines per list.
std::string largeInsFile(int lists)
{
    std::string text = "; generated\r\n.Patch Names\r\n";
    for (int l = 0; l < lists; ++l) {
        text += "\r\n[Bank " + std::to_string(l) + "]\r\n";
        for (int n = 0; n < 128; ++n)
            text += std::to_string(n) + "=Sound " + std::to_string(l) + "-" + std::to_string(n) + "\r\n";
    }
    text += "\r\n.Instrument Definitions\r\n";
    for (int l = 0; l < lists; l += 4) {
        text += "\r\n[Synth " + std::to_string(l / 4) + "]\r\nPatch[*]=Bank " + std::to_string(l) + "\r\n";
        for (int b = 1; b < 4 && l + b < lists; ++b)
            text += "Patch[" + std::to_string(b) + "]=Bank " + std::to_string(l + b) + "\r\n";
    }
    return text;
}

void BM_ParseInsFile(benchmark::State& state)
{
    const std::string text = largeInsFile(int(state.range(0)));
    size_t lines = 0;
    for (char c : text)
        lines += c == '\n';
    for (auto _ : state) {
        InstrumentArray instruments{std::make_shared<CInsInstrument>("default")};
        CInstrumentDefs defs(instruments);
        defs.CollectNamesFromText(text);
        defs.LoadSelectedFromText(text);
        benchmark::DoNotOptimize(instruments.size());
    }
    state.counters["lines"] = double(lines);
}
BENCHMARK(BM_ParseInsFile)->Arg(385)->Unit(benchmark::kMillisecond);

// `count` instruments, each with three patch lists, a note list and a
// controller list of its own, 32 names in each.
InstrumentArray manyInstruments(int count)
{
    InstrumentArray instruments{std::make_shared<CInsInstrument>("default")};
    for (int i = 0; i < count; ++i) {
        auto instrument = std::make_shared<CInsInstrument>("Synth " + std::to_string(i));
        const std::string tag = std::to_string(i);
        for (int b = 0; b < 3; ++b) {
            CInsPatchNames list;
            list.name = "Bank " + tag + "-" + std::to_string(b);
            list.bank = b;
            list.bankText = std::to_string(b);
            for (int n = 0; n < 32; ++n)
                list.names[size_t(n)] = "Sound " + tag + "-" + std::to_string(n);
            instrument->patchLists.push_back(std::move(list));
        }
        CInsNoteNames kit;
        kit.name = "Kit " + tag;
        for (int n = 35; n < 67; ++n)
            kit.names[size_t(n)] = "Drum " + std::to_string(n);
        instrument->noteLists.push_back(std::move(kit));
        instrument->controllerLists[0].name = "Controls " + tag;
        instrument->patchLists.erase(
            instrument->patchLists.begin()); // the General MIDI list made at construction
        instruments.push_back(std::move(instrument));
    }
    return instruments;
}

void BM_WriteInstrumentFile(benchmark::State& state)
{
    const InstrumentArray instruments = manyInstruments(int(state.range(0)));
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("zib-bench-" + std::to_string(::getpid()) + ".icf");
    size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = FormatInstrumentDefinitions(instruments, "Zib");
        writeFileAtomically(path, text);
        bytes = text.size();
    }
    std::filesystem::remove(path);
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_WriteInstrumentFile)->Arg(2000)->Arg(4000)->Unit(benchmark::kMillisecond);

} // namespace
