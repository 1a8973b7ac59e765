#include "docs/style/core/StyTreeClipboard.h"

#include "platform/ByteCursor.h"
#include "platform/ByteWriter.h"

#include <algorithm>

namespace zib {

namespace {

constexpr size_t kHead = 584;
constexpr uint32_t kTreeKind = 101;

void writeHead(ByteWriter& w, uint8_t letter, uint8_t contentCode, std::span<const uint32_t> sizes, bool sizeAt19)
{
    std::vector<uint8_t> head(kHead, 0);
    head[0] = letter;
    head[1] = uint8_t(kTreeKind);
    head[17] = contentCode;
    auto put = [&head](size_t at, uint32_t v) {
        for (size_t i = 0; i < 4; ++i)
            head[at + i] = uint8_t(v >> (8 * i));
    };
    if (sizeAt19 && !sizes.empty()) put(19, sizes[0]);
    for (size_t i = 0; i < sizes.size(); ++i)
        put(32 + 4 * i, sizes[i]);
    w.bytes(head);
}

template <size_t N> void readArray(ByteCursor& c, std::array<uint8_t, N>& out)
{
    const auto bytes = c.bytes(N);
    if (!bytes.empty()) std::copy(bytes.begin(), bytes.end(), out.begin());
}

} // namespace

TreeBlockError ReadTreeBlockHead(std::span<const uint8_t> bytes, uint8_t& letter, uint8_t& contentCode)
{
    if (bytes.size() < kHead) return TreeBlockError::Format;
    ByteCursor c(bytes);
    letter = c.u8();
    const uint32_t kind = c.u32le();
    contentCode = bytes[17];
    if ((letter != 'F' && letter != 'X') || kind != kTreeKind) return TreeBlockError::Format;
    return TreeBlockError::None;
}

std::vector<uint8_t> CvClipBlock::Bytes() const
{
    ByteWriter w;
    const uint32_t size = uint32_t(midi.size());
    writeHead(w, letter, kContentCode, std::span<const uint32_t>(&size, 1), true);
    std::vector<uint8_t> r(kImageAt - kRecordAt, 0);
    r[0] = record.element;
    r[1] = record.cv;
    r[2] = record.signature;
    std::copy(record.chordAssign.begin(), record.chordAssign.end(), r.begin() + 3);
    std::copy(record.trackChord.begin(), record.trackChord.end(), r.begin() + 25);
    std::copy(record.trackKey.begin(), record.trackKey.end(), r.begin() + 73);
    w.bytes(r);
    w.bytes(midi);
    return w.take();
}

TreeBlockError CvClipBlock::Read(std::span<const uint8_t> bytes, CvClipBlock& out)
{
    uint8_t code = 0;
    if (ReadTreeBlockHead(bytes, out.letter, code) != TreeBlockError::None || code != kContentCode)
        return TreeBlockError::Format;
    if (bytes.size() < kImageAt) return TreeBlockError::Size;
    const uint32_t size = ByteCursor(bytes.data() + 32, 4).u32le();
    if (size > bytes.size() - kImageAt) return TreeBlockError::Size;
    ByteCursor c(bytes.data() + kRecordAt, kImageAt - kRecordAt);
    out.record.element = c.u8();
    out.record.cv = c.u8();
    out.record.signature = c.u8();
    readArray(c, out.record.chordAssign);
    readArray(c, out.record.trackChord);
    c.seek(73);
    readArray(c, out.record.trackKey);
    out.midi.assign(bytes.begin() + kImageAt, bytes.begin() + ptrdiff_t(kImageAt + size));
    return TreeBlockError::None;
}

std::vector<uint8_t> SeClipBlock::Bytes() const
{
    ByteWriter w;
    std::vector<uint32_t> sizes;
    for (const auto& image : midi)
        sizes.push_back(uint32_t(image.size()));
    writeHead(w, letter, kContentCode, sizes, false);
    w.u8(record.element);
    w.u8(record.cvCount);
    w.u8(record.ntt);
    w.u8(record.signature);
    w.bytes(record.chordAssign);
    w.bytes(record.expression);
    for (uint32_t p : record.program)
        w.u32le(p);
    w.bytes(record.rangeLow);
    w.bytes(record.rangeHigh);
    for (const auto& cv : record.trackChord)
        w.bytes(cv);
    for (const auto& cv : record.trackKey)
        w.bytes(cv);
    for (const auto& image : midi)
        w.bytes(image);
    return w.take();
}

TreeBlockError SeClipBlock::Read(std::span<const uint8_t> bytes, SeClipBlock& out)
{
    uint8_t code = 0;
    if (ReadTreeBlockHead(bytes, out.letter, code) != TreeBlockError::None || code != kContentCode)
        return TreeBlockError::Format;
    if (bytes.size() < kImageAt) return TreeBlockError::Size;
    ByteCursor c(bytes.data() + kRecordAt, kImageAt - kRecordAt);
    SeClipRecord& r = out.record;
    r.element = c.u8();
    r.cvCount = c.u8();
    r.ntt = c.u8();
    r.signature = c.u8();
    readArray(c, r.chordAssign);
    readArray(c, r.expression);
    for (uint32_t& p : r.program)
        p = c.u32le();
    readArray(c, r.rangeLow);
    readArray(c, r.rangeHigh);
    for (auto& cv : r.trackChord)
        readArray(c, cv);
    for (auto& cv : r.trackKey)
        readArray(c, cv);
    if (r.cvCount > 6) return TreeBlockError::Size;
    out.midi.clear();
    uint64_t at = kImageAt;
    for (size_t i = 0; i < r.cvCount; ++i) {
        const uint32_t size = ByteCursor(bytes.data() + 32 + 4 * i, 4).u32le();
        if (at + size > bytes.size()) return TreeBlockError::Size;
        out.midi.emplace_back(bytes.begin() + ptrdiff_t(at), bytes.begin() + ptrdiff_t(at + size));
        at += size;
    }
    return TreeBlockError::None;
}

} // namespace zib
