// Style MIDI files as they come from users: the MIDI-to-Qe-style converter
// must read any image to a result code, never past its bytes, and hand UlvaRf
// only containers that it accepts.
#include "fuzz/styles/FuzzCheck.h"
#include "styles/CMidiToQeStyConverter.h"

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <vector>

#include "tests/support/NullStream.h"
#include "ulvarf/ulvarf.h"

// Byte 0 picks the settings: bit 0 user-defined keys and chords, bit 1
// user-defined chord tables, bit 2 a damaged key-chord table, bit 3 a log.
// The rest is the MIDI image.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    zib::QeStyleConvertSettings settings;
    settings.keyChordDetermination = (data[0] & 1) ? 0 : 1;
    settings.chordDetermination = (data[0] & 2) ? 0 : 1;
    if (data[0] & 4) settings.keyChord[1] = 'z';
    zib::test::NullStream log;

    zib::CMidiToQeStyConverter converter;
    converter.SetSettings(settings);
    std::vector<uint8_t> file;
    const int rc =
        converter.ConvertToImage(data + 1, uint32_t(size - 1), (data[0] & 8) ? &log : nullptr, file);
    char text[256];
    converter.ReportError(text, sizeof text, rc);
    if (rc == 0) {
        // A finished style file is a container UlvaRf reads back.
        ULRFContainer* container = _ULRFCreateInstance(file.data(), uint32_t(file.size()));
        zib::fuzz::check(container != nullptr);
        _ULRFDeleteInstance(container);
    } else {
        zib::fuzz::check(file.empty());
    }
    return 0;
}
