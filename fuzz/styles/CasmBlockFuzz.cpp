// CASM blocks as they come in Yamaha style files: the walk must end with a
// code, never reading past the block, and every lookup must stay inside the
// mapper's table whatever the records hold.
#include "styles/CYamahaPsrCasmMapper.h"

#include "styles/ConversionLogSink.h"
#include "tests/support/NullStream.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <ostream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zib::test::NullStream out;
    zib::COStreamLogSink sink(out);
    zib::CConversionLog log(&sink);
    zib::CYamahaPsrCasmMapper mapper;
    mapper.SetLog(&log);
    const int rc = mapper.Parse(data, size);
    char text[80];
    mapper.ReportError(text, sizeof text, rc);
    if (rc != 0) return 0;
    for (int s = -1; s <= 16; ++s)
        for (int ch = 0; ch < 256; ch += 5) {
            uint8_t byte = 0;
            std::array<uint8_t, 5> mute{};
            mapper.GetDestChannel(s, uint8_t(ch), byte);
            mapper.GetSourceRoot(s, uint8_t(ch), byte);
            mapper.GetSourceChordType(s, uint8_t(ch), byte);
            mapper.GetChordMute(s, uint8_t(ch), mute);
        }
    return 0;
}
