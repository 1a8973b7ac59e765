#include "ulvarf/COComp.h"

#include "ulvarf/COCompEncoder.h"

#include "platform/ByteCursor.h"

#include <algorithm>
#include <cstring>

namespace zib::ulvarf {

COComp::Header COComp::ParseHeader(std::span<const uint8_t> block)
{
    Header header;
    if (block.size() <= 14 || block[0] != 'O' || block[1] != 'C') return header;
    if (block[2] != '2' && block[2] != '3') return header;
    if (block[3] < '0' || block[3] > '2') return header;
    header.version = block[2] - '0';
    header.level = block[3] - '0';

    zib::ByteCursor cursor(block);
    cursor.skip(4);
    const uint32_t length = cursor.u32le();
    const size_t stream = block.size() - kHeaderSize - (header.version == 3 ? 1 : 0);
    header.valid = length <= kMaxUncompressed && uint64_t(length) <= uint64_t(stream) * kMaxExpansion;
    return header;
}

uint32_t COComp::UncompressedLength(std::span<const uint8_t> block)
{
    if (!ParseHeader(block).valid) return 0;
    zib::ByteCursor cursor(block);
    cursor.skip(4);
    return cursor.u32le();
}

uint32_t COComp::Decode(std::span<const uint8_t> block, std::span<uint8_t> out, bool check)
{
    const Header header = ParseHeader(block);
    if (!header.valid) return 0;
    const uint32_t length = UncompressedLength(block);
    if (out.size() < length) return 0;
    const size_t streamEnd = block.size() - (header.version == 3 ? 1 : 0);
    const int64_t produced = DecodeRaw(block.subspan(kHeaderSize, streamEnd - kHeaderSize), out.first(length));
    if (produced != int64_t(length)) return 0;
    if (header.version == 3 && check) {
        uint8_t x = 0;
        for (uint32_t i = 0; i < length; ++i) x ^= out[i];
        if (x != block.back()) return 0;
    }
    return length;
}

int64_t COComp::DecodeRaw(std::span<const uint8_t> stream, std::span<uint8_t> out)
{
    zib::ByteCursor in(stream);
    uint8_t* const dst = out.data();
    const size_t capacity = out.size();
    size_t o = 0;

    while (!in.atEnd()) {
        const uint8_t t = in.u8();

        if (t < 16) { // literal run or end marker
            size_t count;
            if (t == 0) {
                if (!in.has(1)) return kCorrupt;
                count = size_t(in.u8()) + 18;
            } else if (t == 1) {
                if (!in.has(2)) return kCorrupt;
                count = in.u16be();
                if (count == 0) return in.atEnd() ? int64_t(o) : kCorrupt;
            } else {
                count = size_t(t) + 2;
            }
            if (!in.has(count)) return kCorrupt;
            if (capacity - o < count) return kOverflow;
            std::memcpy(dst + o, in.bytes(count).data(), count);
            o += count;
            continue;
        }

        // A match: its length, its distance and the literals riding on it.
        size_t length;
        size_t distance;
        uint8_t last;
        if (t >= 64) {
            if (!in.has(1)) return kCorrupt;
            last = in.u8();
            length = size_t(t >> 5) + 1;
            distance = size_t(t & 31) * 64 + (last >> 2) + 1;
        } else {
            const unsigned field = t >= 32 ? (t & 31u) : (t & 7u);
            if (field >= 2) {
                length = field + 2;
            } else if (field == 0) {
                if (!in.has(1)) return kCorrupt;
                length = size_t(in.u8()) + (t >= 32 ? 34 : 10);
            } else {
                if (!in.has(2)) return kCorrupt;
                length = in.u16be();
            }
            if (!in.has(2)) return kCorrupt;
            const uint8_t b0 = in.u8();
            last = in.u8();
            distance = size_t(b0) * 64 + (last >> 2) + 1;
            if (t < 32) distance += 16384 + ((t & 8) ? 16384 : 0);
        }
        if (distance > o) return kCorrupt;
        if (capacity - o < length) return kOverflow;

        uint8_t* to = dst + o;
        const uint8_t* from = to - distance;
        if (distance >= length) {
            std::memcpy(to, from, length);
        } else if (distance == 1) {
            std::memset(to, *from, length);
        } else {
            // The output repeats with the period `distance`: copy one period,
            // then double the copied part, never overlapping.
            std::memcpy(to, from, distance);
            size_t done = distance;
            while (done < length) {
                const size_t n = std::min(done, length - done);
                std::memcpy(to + done, to, n);
                done += n;
            }
        }
        o += length;

        const size_t literals = last & 3u;
        if (literals) {
            if (!in.has(literals)) return kCorrupt;
            if (capacity - o < literals) return kOverflow;
            std::memcpy(dst + o, in.bytes(literals).data(), literals);
            o += literals;
        }
    }
    return int64_t(o);
}

uint32_t COComp::Encode(std::span<const uint8_t> input, std::span<uint8_t> out, int version, int level)
{
    if (version != 2 && version != 3) return 0;
    if (level < 0 || level > 2) return 0;
    if (input.size() > UINT32_MAX) return 0;
    COCompEncoder encoder(input, out, version, level);
    return encoder.Run();
}

size_t COComp::MaxBlockSize(size_t n)
{
    // Every match saves a byte at least, so the input grows only by the run
    // heads between matches (at most 1 byte per 21 input bytes), the counted
    // runs at both ends and the 12 fixed bytes.
    return n + n / 16 + 64;
}

} // namespace zib::ulvarf
