#include "ulvarf/CQeStyleTree.h"

#include "ulvarf/CChunkNav.h"
#include "ulvarf/TraceMessage.h"

#include "platform/ByteCursor.h"
#include "platform/ByteWriter.h"

#include <algorithm>

namespace zib::ulvarf {

namespace {

constexpr size_t kMaxChordAssign = 22;

// Chunk ids of the tree.
constexpr uint8_t kStyleChunk = 0x01;
constexpr uint8_t kHeaderChunk = 0x01;
constexpr uint8_t kPatternContainer = 0x02;
constexpr uint8_t kMapChunk = 0x01;
constexpr uint8_t kFirstPatternId = 0x02;
constexpr uint8_t kLastPatternId = 0x04;
constexpr uint8_t kElementChunk = 0x03;
constexpr uint8_t kInfoChunk = 0x01;
constexpr uint8_t kTrackTableChunk = 0x02;
constexpr uint8_t kCvChunk = 0x03;

bool isLeaf(const CChunkNav& nav) { return (nav.flags() & kChunkLeaf) != 0; }

// A stream of S bytes from the cursor, cut to what the chunk holds.
std::vector<uint8_t> readStream(zib::ByteCursor& in, const char* what)
{
    uint32_t size = in.u32be();
    if (size > in.remaining()) {
        TraceMessage("CQeStyleTree::Parse() - %s event stream runs past its chunk; cut to %zu bytes", what,
                     in.remaining());
        size = uint32_t(in.remaining());
    }
    const auto bytes = in.bytes(size);
    return {bytes.begin(), bytes.end()};
}

void parseHeader(std::span<const uint8_t> payload, uint8_t release, CQeStyleTree::Header& header)
{
    zib::ByteCursor in(payload);
    const uint8_t nameLength = in.u8();
    const auto name = in.bytes(std::min<size_t>(nameLength, in.remaining()));
    header.name.assign(name.begin(), name.end());
    // The fields after the name; those the record lacks read as 0.
    std::array<uint8_t, 16> rest{};
    const auto tail = in.bytes(std::min(rest.size(), in.remaining()));
    std::copy(tail.begin(), tail.end(), rest.begin());
    header.trackModes = uint16_t(rest[0] << 8 | rest[1]);
    header.tensionBits = rest[2];
    header.elementMask = uint16_t(rest[3] << 8 | rest[4]);
    header.release = release;
    if (release >= 1) header.thirdFlagBits = rest[5];
    if (release >= 2) {
        std::copy(rest.begin() + 6, rest.begin() + 14, header.trackBytes.begin());
        header.styleByteA = rest[14];
        header.styleByteB = rest[15];
    }
}

void parsePattern(std::span<const uint8_t> payload, uint8_t id, CQeStyleTree::Pattern& pattern)
{
    zib::ByteCursor in(payload);
    pattern.id = id;
    pattern.length = in.u32be();
    pattern.stream = readStream(in, "Pattern");
    if (id != kFirstPatternId) {
        pattern.chord = in.u8();
        pattern.key = in.u8();
    }
}

void parseMap(std::span<const uint8_t> payload, CQeStyleTree& tree)
{
    zib::ByteCursor in(payload);
    tree.hasMap = true;
    tree.mapChunks = in.u16be();
    size_t count = in.u16be();
    if (count > in.remaining() / 2) {
        TraceMessage("CQeStyleTree::Parse() - Pattern map holds %zu of %zu values", in.remaining() / 2, count);
        count = in.remaining() / 2;
    }
    tree.map.reserve(count);
    for (size_t i = 0; i < count; ++i) tree.map.push_back(in.u16be());
}

void parseInfo(std::span<const uint8_t> payload, CQeStyleTree::Element& element)
{
    zib::ByteCursor in(payload);
    element.hasInfo = true;
    element.cvMask = in.u8();
    element.ntt = in.u8();
    element.signature = in.u8();
    const size_t n = in.u8();
    if (n > kMaxChordAssign) {
        TraceMessage("CQeStyleTree::Parse() - %zu chord-assign bytes; the first 22 are kept", n);
    }
    const auto bytes = in.bytes(std::min({n, kMaxChordAssign, in.remaining()}));
    element.chordAssign.assign(bytes.begin(), bytes.end());
}

void parseTrackTable(std::span<const uint8_t> payload, CQeStyleTree::Element& element)
{
    element.hasTrackTable = true;
    const size_t n = std::min(payload.size(), CQeStyleTree::kTrackTableSize);
    element.trackRecords = n / 6;
    std::copy(payload.begin(), payload.begin() + long(n), element.trackTable.begin());
}

void parseCv(std::span<const uint8_t> payload, CQeStyleTree::ChordVar& cv)
{
    zib::ByteCursor in(payload);
    cv.length = in.u32be();
    cv.stream = readStream(in, "CV");
    size_t n = in.u8();
    if (n > in.remaining() / 2) {
        TraceMessage("CQeStyleTree::Parse() - CV record holds %zu of %zu pattern uses", in.remaining() / 2, n);
        n = in.remaining() / 2;
    }
    cv.uses.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        const uint8_t type = in.u8();
        const uint8_t track = in.u8();
        cv.uses.push_back({type, track});
    }
}

void parseElement(CChunkNav& nav, CQeStyleTree::Element& element)
{
    if (!nav.Enter()) return;
    do {
        if (!isLeaf(nav)) continue;
        if (nav.id() == kInfoChunk && !element.hasInfo) {
            parseInfo(nav.Payload(), element);
        } else if (nav.id() == kTrackTableChunk && !element.hasTrackTable) {
            parseTrackTable(nav.Payload(), element);
        } else if (nav.id() == kCvChunk) {
            parseCv(nav.Payload(), element.cvs.emplace_back());
        }
    } while (nav.Next());
    nav.Up();
}

void parsePatternContainer(CChunkNav& nav, CQeStyleTree& tree)
{
    if (!nav.Enter()) return;
    do {
        if (!isLeaf(nav)) continue;
        if (nav.id() == kMapChunk && !tree.hasMap) {
            parseMap(nav.Payload(), tree);
        } else if (nav.id() >= kFirstPatternId && nav.id() <= kLastPatternId) {
            parsePattern(nav.Payload(), nav.id(), tree.patterns.emplace_back());
        }
    } while (nav.Next());
    nav.Up();
}

// Writes chunks with their sizes patched when they close.
class ChunkWriter {
public:
    explicit ChunkWriter(size_t reserve) { out_.reserve(reserve); }

    void open(uint8_t id, uint8_t id1, uint8_t id2, uint8_t flags)
    {
        open_.push_back(out_.size());
        head(id, id1, id2, flags);
    }
    void close()
    {
        const size_t at = open_.back();
        open_.pop_back();
        out_.patchU32be(at + 4, uint32_t(out_.size() - at - kChunkHeadSize));
    }
    zib::ByteWriter& leaf(uint8_t id, uint8_t id2 = 0)
    {
        open(id, 0, id2, kChunkLeaf);
        return out_;
    }
    std::vector<uint8_t> take() { return out_.take(); }

private:
    void head(uint8_t id, uint8_t id1, uint8_t id2, uint8_t flags)
    {
        out_.u8(id);
        out_.u8(id1);
        out_.u8(id2);
        out_.u8(flags);
        out_.u32be(0);
    }

    zib::ByteWriter out_;
    std::vector<size_t> open_;
};

} // namespace

std::optional<CQeStyleTree> CQeStyleTree::Parse(std::span<const uint8_t> styleChunk)
{
    CChunkNav nav = CChunkNav::ReadOnly(styleChunk);
    if (!nav.valid()) return std::nullopt;
    CQeStyleTree tree;
    tree.version = nav.id1();
    if (!nav.Enter()) return tree;
    do {
        const bool leaf = isLeaf(nav);
        if (nav.id() == kHeaderChunk && leaf && !tree.hasHeader) {
            tree.hasHeader = true;
            parseHeader(nav.Payload(), nav.id2(), tree.header);
        } else if (nav.id() == kPatternContainer && !leaf) {
            parsePatternContainer(nav, tree);
        } else if (nav.id() == kElementChunk && !leaf) {
            parseElement(nav, tree.elements.emplace_back());
        }
    } while (nav.Next());
    return tree;
}

size_t CQeStyleTree::UseCount() const
{
    size_t n = 0;
    for (const Element& element : elements) {
        for (const ChordVar& cv : element.cvs) n += cv.uses.size();
    }
    return n;
}

std::optional<std::vector<uint8_t>> CQeStyleTree::Serialise() const
{
    if (map.size() > UINT16_MAX || patterns.size() > UINT16_MAX) return std::nullopt;
    size_t estimate = 64 + header.name.size() + map.size() * 2;
    for (const Pattern& p : patterns) estimate += 26 + p.stream.size();
    for (const Element& element : elements) {
        estimate += 100;
        for (const ChordVar& cv : element.cvs) {
            if (cv.uses.size() > UINT8_MAX) return std::nullopt;
            estimate += 26 + cv.stream.size() + cv.uses.size() * 2;
        }
    }

    ChunkWriter w(estimate);
    w.open(kStyleChunk, version, 0, 0x00);

    const bool longForm = version != 0;
    zib::ByteWriter& h = w.leaf(kHeaderChunk, longForm ? 2 : 0);
    h.u8(uint8_t(header.name.size()));
    h.bytes(header.name);
    h.u16be(header.trackModes);
    h.u8(header.tensionBits);
    h.u16be(header.elementMask);
    if (longForm) {
        h.u8(header.thirdFlagBits);
        h.bytes(header.trackBytes);
        h.u8(header.styleByteA);
        h.u8(header.styleByteB);
    }
    w.close();

    w.open(kPatternContainer, 0, 0, 0x00);
    zib::ByteWriter& m = w.leaf(kMapChunk);
    m.u16be(mapChunks);
    m.u16be(uint16_t(map.size()));
    for (uint16_t value : map) m.u16be(value);
    w.close();
    for (const Pattern& p : patterns) {
        zib::ByteWriter& out = w.leaf(p.id);
        out.u32be(p.length);
        out.u32be(uint32_t(p.stream.size()));
        out.bytes(p.stream);
        if (p.id != kFirstPatternId) {
            out.u8(p.chord);
            out.u8(p.key);
        }
        w.close();
    }
    w.close();

    for (const Element& element : elements) {
        w.open(kElementChunk, 0, 0, 0x00);
        zib::ByteWriter& info = w.leaf(kInfoChunk);
        info.u8(element.cvMask);
        info.u8(element.ntt);
        info.u8(element.signature);
        info.u8(uint8_t(element.chordAssign.size()));
        info.bytes(element.chordAssign);
        w.close();
        w.leaf(kTrackTableChunk).bytes(element.trackTable);
        w.close();
        for (const ChordVar& cv : element.cvs) {
            zib::ByteWriter& out = w.leaf(kCvChunk);
            out.u32be(cv.length);
            out.u32be(uint32_t(cv.stream.size()));
            out.bytes(cv.stream);
            out.u8(uint8_t(cv.uses.size()));
            for (const Use& use : cv.uses) {
                out.u8(use.type);
                out.u8(use.track);
            }
            w.close();
        }
        w.close();
    }
    w.close();
    return w.take();
}

} // namespace zib::ulvarf
