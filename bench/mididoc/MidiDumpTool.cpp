// The MIDI document's text dump as a whole process, run by the benchmark
// that sets it against `midicsv FILE OUT`:
//   midi_dump_tool FILE OUT   opens FILE as a MIDI document and writes its
//                             text dump to OUT
// Exits 0 when the dump was written, 1 when not.
#include "ui/core/ZibSettings.h"
#include "mididoc/core/MidiDocModel.h"
#include "tests/support/MemoryProfile.h"

#include <atomic>
#include <cstdio>

using namespace zib;

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: midi_dump_tool FILE OUT\n");
        return 2;
    }
    test::MemoryProfile profile;
    ZibSettings settings{profile};
    std::atomic<int> playing{0};
    MidiDocModel model{settings, playing};
    if (model.OnOpenDocument(argv[1]) != MidiDocModel::OpenResult::Ok) return 1;
    return model.DumpMidiToTextFile(argv[2], argv[1]) == 0 ? 0 : 1;
}
