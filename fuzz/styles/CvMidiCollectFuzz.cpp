// Chord-variation MIDI files as users hand them to the collectors: whatever
// the files hold, a collection ends with a code and either a whole collected
// file (one that reads as a MIDI file to its end) or none at all.
#include "fuzz/styles/FuzzCheck.h"
#include "midi/CMidiFile.h"
#include "styles/CMidiCollect.h"
#include "styles/CQeMidiCollect.h"
#include "tests/support/NullStream.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

namespace {

// One folder for the whole run, emptied before every input and removed at exit.
class WorkFolder {
public:
    WorkFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "zib-cvfuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        path_ = pattern;
    }
    ~WorkFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Success leaves a collected file that reads whole; failure leaves none.
void CheckOutcome(const zib::CvCollectResult& result, const std::filesystem::path& folder)
{
    std::error_code ec;
    bool collected = false;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() >= 11 && name.compare(name.size() - 11, 11, "COLLECT.MID") == 0) collected = true;
    }
    zib::fuzz::check(collected == (result.code == 0));
    if (result.code != 0) return;
    zib::CMidiFile reader;
    zib::fuzz::check(reader.ParseFile(result.outputPath) == 0);
    zib::fuzz::check(reader.GetFormat() == 1);
}

void WriteFile(const std::filesystem::path& path, const uint8_t* data, size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
}

} // namespace

// Byte 0: bit 0 picks the Qe collector, bit 1 style information, bit 2 a
// second member of the set (the same bytes, the set's last CV), bit 3 the
// key-chord table from the settings. Bytes 1-32 also fill the style
// information and the settings letters; the rest is the CV file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 33) return 0;
    const uint8_t mode = data[0];
    const uint8_t* setting = data + 1;
    const uint8_t* file = data + 33;
    const size_t fileSize = size - 33;

    static const WorkFolder work;
    const std::filesystem::path& folder = work.path();
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        std::filesystem::remove(entry.path(), ec);
    WriteFile(folder / "FzV11.mid", file, fileSize);
    const bool qe = mode & 1;
    if (mode & 4) WriteFile(folder / (qe ? "FzI32.mid" : "FzF22.mid"), file, fileSize);

    zib::test::NullStream log;
    const std::string letters(reinterpret_cast<const char*>(setting), 32);
    if (!qe) {
        zib::WqCvCollectSettings settings;
        settings.keyChordDetermination = (mode & 8) ? 0 : 1;
        settings.keyChord = letters;
        CheckOutcome(zib::CollectWqCvMidi(folder / "FzV11.mid", settings, &log), folder);
        return 0;
    }

    zib::QeCvCollectSettings settings;
    settings.qeKeyChordDetermination = (mode & 8) ? 0 : 1;
    settings.qeKeyChord = letters;
    zib::QeCollectStyleInfo info;
    info.tensionBits = setting[0];
    info.trackModes = uint16_t(setting[1] | setting[2] << 8);
    info.twelveElements = setting[3] & 1;
    for (size_t e = 0; e < 12; ++e) {
        info.ntt[e] = setting[4 + e];
        for (size_t t = 0; t < 8; ++t) {
            info.rangeLow[e][t] = setting[(e + t) % 32];
            info.rangeHigh[e][t] = setting[(e * 3 + t) % 32];
            info.setup[e][t] = {setting[(e + 2 * t) % 32], setting[(e + 3 * t) % 32],
                                setting[(e + 5 * t) % 32]};
        }
        for (size_t i = 0; i < 22; ++i)
            info.chordAssign[e][i] = setting[(e + i) % 32];
    }
    for (size_t cv = 0; cv < 72; ++cv) {
        info.cvKey[cv] = setting[cv % 32];
        info.cvChord[cv] = setting[(cv + 7) % 32];
        for (size_t t = 0; t < 8; ++t) {
            info.trackKey[cv][t] = setting[(cv + t) % 32];
            info.trackChord[cv][t] = setting[(cv + 2 * t) % 32];
        }
    }
    const zib::QeStyleItem item{letters, std::vector<uint8_t>(file, file + std::min<size_t>(fileSize, 64))};
    const bool withInfo = mode & 2;
    CheckOutcome(zib::CollectQeCvMidi(folder / "FzV11.mid", settings, &log, withInfo ? &info : nullptr,
                                      withInfo ? &item : nullptr),
                 folder);
    return 0;
}
