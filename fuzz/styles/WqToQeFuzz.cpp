// The Wq-to-Qe conversion on Wq style images as they come from files: it
// must stay inside the image and the output buffer, and whatever it writes
// must be a well-formed style tree whose patterns walk cleanly and whose
// elements count one pattern use per pattern.
#include "fuzz/styles/FuzzCheck.h"
#include "platform/ByteCursor.h"
#include "styles/CQeRecordParser.h"
#include "styles/CSmfTrackReader.h"
#include "styles/CWqToQeConverter.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace {

using zib::fuzz::check;

struct Chunk {
    uint8_t id = 0;
    std::span<const uint8_t> payload;
    std::span<const uint8_t> whole;
};

bool next(zib::ByteCursor& in, Chunk& chunk)
{
    const size_t at = in.pos();
    chunk.id = in.u8();
    in.skip(3);
    const uint32_t size = in.u32be();
    if (in.failed() || !in.has(size)) return false;
    chunk.payload = in.bytes(size);
    chunk.whole = std::span<const uint8_t>(in.data() + at, 8 + size_t(size));
    return true;
}

// Style chunk: header, pattern container (map, patterns), elements.
void checkBody(std::span<const uint8_t> body)
{
    zib::ByteCursor top(body);
    Chunk style, header, patterns, map;
    check(next(top, style) && style.id == 1 && top.atEnd());
    zib::ByteCursor in(style.payload);
    check(next(in, header) && header.id == 1 && header.payload.size() == 22);
    check(next(in, patterns) && patterns.id == 2);
    zib::ByteCursor p(patterns.payload);
    check(next(p, map) && map.id == 1);
    size_t patternCount = 0;
    while (!p.atEnd()) {
        Chunk pattern;
        check(next(p, pattern) && pattern.id >= 2 && pattern.id <= 4);
        zib::CSmfTrackReader reader;
        check(reader.Init(pattern.whole) == 0);
        check(reader.HasChord() == (pattern.id != 2));
        ++patternCount;
    }
    check(map.payload.size() == 4 + 2 * patternCount);
    size_t uses = 0;
    while (!in.atEnd()) {
        Chunk element;
        check(next(in, element) && element.id == 3);
        zib::CQeRecordParser parser;
        uint16_t count = 0;
        check(parser.Parse(element.whole, count) == 0);
        uses += count;
    }
    check(uses == patternCount);
}

} // namespace

// Byte 0 picks the model (and, when its bit 7 is set, a small output
// buffer); the rest is the image.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    const uint32_t model = zib::wq::kModels[(data[0] & 0x7F) % zib::wq::kModels.size()];
    const size_t capacity = data[0] & 0x80 ? 2000 : zib::CWqToQeConverter::kOutputCapacity;

    // One output buffer for every run, filled with a mark that a failed
    // conversion must leave as it is.
    static std::vector<uint8_t> out(zib::CWqToQeConverter::kOutputCapacity, 0xEE);
    static const std::vector<uint8_t> mark(zib::CWqToQeConverter::kOutputCapacity, 0xEE);
    zib::CWqToQeConverter converter;
    const int written = converter.Convert(data + 1, size - 1, model, out.data(), capacity);
    if (written < 0) {
        check(zib::WqToQeErrorText(written) != nullptr);
        check(std::memcmp(out.data(), mark.data(), out.size()) == 0);
        return 0;
    }
    check(size_t(written) <= capacity);
    checkBody(std::span<const uint8_t>(out.data(), size_t(written)));
    std::memset(out.data(), 0xEE, size_t(written));
    return 0;
}
