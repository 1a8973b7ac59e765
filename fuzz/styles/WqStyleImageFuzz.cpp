// Wq style images as they come from files: the check, the text dump, the
// MIDI exports and the patternized writer must stay inside the image whatever
// its offsets, events and head fields hold; a MIDI export that succeeds reads
// as a MIDI file to its end, one that fails gives nothing, and a patternized
// file is given only when it was built, for an image that passes the check.
#include "fuzz/styles/FuzzCheck.h"
#include "midi/CMidiFile.h"
#include "styles/CWqStyleFile.h"
#include "styles/CWqStyleWriter.h"
#include "tests/support/NullStream.h"

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <vector>

// Byte 0 picks the model, byte 1 the chord variation of the CV export; the
// rest is the image.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2) return 0;
    const uint32_t model = zib::wq::kModels[data[0] % zib::wq::kModels.size()];
    int cvIndex = data[1] % 36;
    const uint8_t* image = data + 2;
    size_t imageSize = size - 2;

    using zib::fuzz::check;
    const bool valid = zib::ValidateWqImage(image, imageSize, model) == zib::WqImageError::None;

    zib::CWqStyleFile style(image, imageSize, model);
    zib::test::NullStream out;
    style.DumpToText(out, zib::WqDumpDate{1, 1, 2000});

    auto readsWhole = [](const std::vector<uint8_t>& midi) {
        zib::CMidiFile reader;
        return reader.ParseMemory(midi.data(), uint32_t(midi.size())) == 0 && reader.GetFormat() == 1;
    };
    std::vector<uint8_t> midi;
    check(style.BuildStyleMidi(midi) == 0 ? readsWhole(midi) : midi.empty());
    int element = cvIndex < 24 ? cvIndex / 6 : 4 + (cvIndex - 24) / 2;
    int cv = cvIndex < 24 ? cvIndex % 6 : (cvIndex - 24) % 2;
    midi.clear();
    const int cvResult =
        style.BuildChordVarMidi(uint8_t(element), uint8_t(cv), data[1] & 0x80 ? 255 : data[1] % 6, midi);
    check(cvResult == 0 ? readsWhole(midi) : midi.empty());

    zib::CWqStyleWriter writer(image, imageSize, model);
    std::vector<uint8_t> file;
    const zib::WqPatternizeResult result = writer.BuildPatternized(file);
    check(result == zib::WqPatternizeResult::Written ? valid && !file.empty() : file.empty());
    return 0;
}
