// Style MIDI files as they come from users: the MIDI-to-Wq-style converter
// must refuse or convert any image without reading outside it, and a style
// it makes must be one the Wq style tools can walk.
#include "fuzz/styles/FuzzCheck.h"
#include "styles/CMidiToWqStyConverter.h"
#include "styles/CWqStyleData.h"
#include "tests/support/NullStream.h"

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <vector>

// Byte 0 picks the model (bits 0-2), the ignore flags (bits 3-6) and whether
// a log is written (bit 7); the rest is the MIDI image.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    const uint32_t model = zib::wq::kModels[(data[0] & 7) % zib::wq::kModels.size()];
    zib::WqStyleConvertSettings settings;
    settings.ignoreFlags = (data[0] >> 3) & 0x0F;

    zib::test::NullStream log;
    zib::CMidiToWqStyConverter converter;
    converter.SetModel(model);
    converter.SetSettings(settings);
    std::vector<uint8_t> file;
    int rc = converter.ConvertToImage(data + 1, uint32_t(size - 1), (data[0] & 0x80) ? &log : nullptr, file);
    if (rc == 0) {
        const std::vector<uint8_t>& image = converter.GetStyleImage();
        zib::fuzz::check(zib::ValidateWqImage(image.data(), image.size(), model) == zib::WqImageError::None);
        zib::fuzz::check(!file.empty());
    }
    char text[256];
    converter.ReportError(text, sizeof text, rc);
    return 0;
}
