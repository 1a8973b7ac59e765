// CASM blocks as they come in Yamaha style files: the walk must end with a
// code of the parser or mapper, never reading past the block, and every
// lookup of a parsed block must stay inside the mapper's table and give a
// value of its documented range whatever the records hold.
#include "styles/CYamahaPsrCasmMapper.h"

#include "fuzz/styles/FuzzCheck.h"
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
    using zib::fuzz::check;
    const int rc = mapper.Parse(data, size);
    check((rc >= 0 && rc <= 22) || rc == zib::CYamahaPsrCasmMapper::kBadDestChannel);
    char text[80];
    check(mapper.ReportError(text, sizeof text, rc) > 0); // every code has its text
    check(mapper.IsParsed() == (rc == 0));
    if (rc != 0) return 0;
    constexpr uint8_t kNone = zib::CYamahaPsrCasmMapper::kNone;
    for (int s = 0; s < 16; ++s)
        for (int ch = 0; ch < 256; ch += 5) {
            uint8_t dest = 0, root = 0, type = 0;
            std::array<uint8_t, 5> mute{};
            check(mapper.GetDestChannel(s, uint8_t(ch), dest) == 0);
            check(mapper.GetSourceRoot(s, uint8_t(ch), root) == 0);
            check(mapper.GetSourceChordType(s, uint8_t(ch), type) == 0);
            check(mapper.GetChordMute(s, uint8_t(ch), mute) == 0);
            check(dest == kNone || (dest >= 8 && dest <= 15));
            check(root == kNone || root < 12);
            check(type == kNone || type < 34);
        }
    return 0;
}
