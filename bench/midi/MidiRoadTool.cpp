// The MIDI file road as a whole process, run by the benchmarks that set it
// against midicsv on the same file:
//   midi_road_tool file PATH    parses the file with the bare SMF engine
//   midi_road_tool image PATH   loads it into the editable sequence and
//                               prints "events parseSeconds freeSeconds
//                               peakBytes" (peak: resident memory above
//                               the image read, while loading)
// Exits 0 when the file was read, 1 when not.
#include "midi/CMidiFile.h"
#include "midi/CMidiParserEx.h"
#include "platform/FileIo.h"
#include "tests/support/ProcessMemory.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

using namespace zib;

namespace {

class NoOpReader : public CMidiFile {};

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int loadImage(const char* path)
{
    std::vector<uint8_t> image;
    if (readWholeFile(path, image, UINT32_MAX) != FileIoError::None) return 1;
    // The high-water mark starts again from here (kernels without it keep the image in)
    if (std::FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
    const long before = test::processMemory("VmRSS:");
    auto sequence = std::make_unique<CMidiParserEx>();
    auto start = std::chrono::steady_clock::now();
    const int rc = sequence->ParseImage(image.data(), uint32_t(image.size()));
    const double parse = secondsSince(start);
    const long peak = test::processMemory("VmHWM:") - before;
    const size_t events = sequence->GetEventCount();
    start = std::chrono::steady_clock::now();
    sequence.reset();
    const double freeing = secondsSince(start);
    std::printf("%zu %.6f %.6f %ld\n", events, parse, freeing, peak);
    return rc == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: midi_road_tool file|image PATH\n");
        return 2;
    }
    if (std::strcmp(argv[1], "file") == 0) {
        NoOpReader reader;
        return reader.ParseFile(argv[2]) == 0 ? 0 : 1;
    }
    if (std::strcmp(argv[1], "image") == 0) return loadImage(argv[2]);
    return 2;
}
