// One-CV MIDI files as the style document imports them: the importer must
// refuse or import any image without reading outside it.
#include "fuzz/styles/FuzzCheck.h"
#include "styles/CMidiToWqStyImporter.h"

#include <cstddef>
#include <cstdint>

// Byte 0 picks the track (0-5, 6 and 7 test the refusal) and the ignore
// flags (bits 3-6); the rest is the MIDI image.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    zib::CMidiToWqStyImporter importer;
    importer.SetIgnoreFlags((data[0] >> 3) & 0x0F);
    int rc = importer.Convert(data + 1, uint32_t(size - 1), data[0] & 7);
    if (rc == 0) {
        zib::fuzz::check(importer.GetEvents().size() % 4 == 0);
        zib::fuzz::check(importer.GetCvLength() >= 0 && importer.GetCvLength() <= 16);
    }
    char text[256];
    importer.ReportError(text, sizeof text, rc);
    return 0;
}
