#include "tests/support/QeStyleBodyReader.h"

#include "platform/ByteCursor.h"

namespace zib::test {

namespace {

struct Chunk {
    uint8_t id = 0;
    uint8_t flags = 0;
    std::span<const uint8_t> payload;
    std::span<const uint8_t> whole;
};

bool nextChunk(zib::ByteCursor& in, Chunk& chunk)
{
    const size_t at = in.pos();
    const uint8_t id = in.u8();
    in.skip(2);
    const uint8_t flags = in.u8();
    const uint32_t size = in.u32be();
    if (in.failed() || !in.has(size)) return false;
    chunk.id = id;
    chunk.flags = flags;
    chunk.payload = in.bytes(size);
    chunk.whole = std::span<const uint8_t>(in.data() + at, 8 + size_t(size));
    return true;
}

std::vector<uint8_t> copy(std::span<const uint8_t> s) { return {s.begin(), s.end()}; }

bool readCv(std::span<const uint8_t> payload, QeBodyCv& cv)
{
    zib::ByteCursor in(payload);
    cv.length = in.u32be();
    const uint32_t size = in.u32be();
    cv.stream = copy(in.bytes(size));
    const uint8_t n = in.u8();
    for (int i = 0; i < n; ++i) {
        const uint8_t type = in.u8();
        const uint8_t track = in.u8();
        cv.uses.emplace_back(type, track);
    }
    return in.ok() && in.atEnd();
}

std::string readElement(std::span<const uint8_t> payload, QeBodyElement& element)
{
    zib::ByteCursor in(payload);
    Chunk info, tracks;
    if (!nextChunk(in, info) || info.id != 1 || info.flags != 0x08) return "element info missing";
    zib::ByteCursor i(info.payload);
    element.cvMask = i.u8();
    element.ntt = i.u8();
    element.timeSig = i.u8();
    element.chordAssign = copy(i.bytes(i.u8()));
    if (i.failed() || !i.atEnd()) return "element info size wrong";
    if (!nextChunk(in, tracks) || tracks.id != 2 || tracks.flags != 0x08 || tracks.payload.size() != 48)
        return "track table missing";
    element.trackTable = copy(tracks.payload);
    while (!in.atEnd()) {
        Chunk record;
        if (!nextChunk(in, record) || record.id != 3 || record.flags != 0x08) return "CV record missing";
        QeBodyCv cv;
        if (!readCv(record.payload, cv)) return "CV record size wrong";
        element.cvs.push_back(std::move(cv));
    }
    return "";
}

} // namespace

QeStyleBody readQeStyleBody(std::span<const uint8_t> body)
{
    QeStyleBody out;
    zib::ByteCursor top(body);
    Chunk style;
    if (!nextChunk(top, style) || style.id != 1 || style.flags != 0x00 || !top.atEnd()) {
        out.error = "style chunk missing or its size wrong";
        return out;
    }
    zib::ByteCursor in(style.payload);
    Chunk header, patterns;
    if (!nextChunk(in, header) || header.id != 1 || header.flags != 0x08) {
        out.error = "header missing";
        return out;
    }
    out.header = copy(header.payload);
    if (!nextChunk(in, patterns) || patterns.id != 2 || patterns.flags != 0x00) {
        out.error = "pattern container missing";
        return out;
    }
    zib::ByteCursor p(patterns.payload);
    Chunk map;
    if (!nextChunk(p, map) || map.id != 1 || map.flags != 0x08) {
        out.error = "pattern map missing";
        return out;
    }
    zib::ByteCursor m(map.payload);
    out.mapChunks = m.u16be();
    const uint16_t uses = m.u16be();
    for (int i = 0; i < uses; ++i) out.map.push_back(m.u16be());
    if (m.failed() || !m.atEnd()) {
        out.error = "pattern map size wrong";
        return out;
    }
    while (!p.atEnd()) {
        Chunk chunk;
        if (!nextChunk(p, chunk) || chunk.id < 2 || chunk.id > 4 || chunk.flags != 0x08) {
            out.error = "pattern chunk damaged";
            return out;
        }
        QeBodyPattern pattern;
        pattern.id = chunk.id;
        pattern.chunk = copy(chunk.whole);
        zib::ByteCursor c(chunk.payload);
        pattern.length = c.u32be();
        pattern.stream = copy(c.bytes(c.u32be()));
        if (chunk.id != 2) {
            const uint8_t chord = c.u8();
            const uint8_t key = c.u8();
            pattern.chordKey = std::make_pair(chord, key);
        }
        if (c.failed() || !c.atEnd()) {
            out.error = "pattern chunk size wrong";
            return out;
        }
        out.patterns.push_back(std::move(pattern));
    }
    while (!in.atEnd()) {
        Chunk chunk;
        if (!nextChunk(in, chunk) || chunk.id != 3 || chunk.flags != 0x00) {
            out.error = "element chunk damaged";
            return out;
        }
        QeBodyElement element;
        element.chunk = copy(chunk.whole);
        out.error = readElement(chunk.payload, element);
        if (!out.error.empty()) return out;
        out.elements.push_back(std::move(element));
    }
    return out;
}

std::vector<PropItem> readPropStream(std::span<const uint8_t> stream, bool* ok)
{
    std::vector<PropItem> out;
    zib::ByteCursor in(stream);
    uint32_t tick = 0;
    uint8_t track = 0;
    auto fail = [&] {
        if (ok) *ok = false;
        return std::vector<PropItem>();
    };
    while (!in.atEnd()) {
        uint32_t delta = 0;
        int count = 0;
        while (in.has(1) && (in.peek() & 0x80)) {
            if (++count > 4) return fail();
            delta = delta << 7 | (in.u8() & 0x7F);
        }
        tick += delta;
        uint8_t kind = in.u8();
        if (in.failed()) return fail();
        if (kind & 0x40) track = uint8_t(track + in.u8()) & 0x7F;
        kind &= 0x1F;
        PropItem item{tick, kind, track, {}};
        if (kind == 9 || kind == 10) {
            const uint8_t type = in.u8();
            const uint8_t hi = in.u8();
            const uint8_t lo = in.u8();
            item.payload = {type, hi, lo};
            for (uint8_t b : in.bytes(size_t(hi & 0x7F) << 7 | (lo & 0x7F))) item.payload.push_back(b);
        } else if (kind != 30 && kind != 31) {
            do {
                item.payload.push_back(in.u8());
            } while (in.ok() && !(item.payload.back() & 0x80));
        }
        if (in.failed()) return fail();
        out.push_back(std::move(item));
    }
    if (ok) *ok = true;
    return out;
}

} // namespace zib::test
