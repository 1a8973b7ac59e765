#include "tests/support/DasfImageBuilder.h"

#include "tests/support/ChunkBuilder.h"

#include "platform/ByteWriter.h"

#include <algorithm>

namespace zib::test {

namespace {

constexpr uint8_t kRootInfo[12] = {11, 0, 0, 0, 0, 0, 0, 'D', 'A', 'S', 'F', 0};

void putName(zib::ByteWriter& w, const std::string& name, size_t width)
{
    for (size_t i = 0; i < width; ++i) w.u8(i < name.size() ? uint8_t(name[i]) : 0);
}

} // namespace

std::array<uint8_t, 24> dasfIndexEntry(const DasfResource& resource)
{
    zib::ByteWriter w;
    putName(w, resource.name, 18);
    w.u8(resource.type);
    w.u8(resource.user1);
    w.u8(resource.user2);
    w.u8(resource.id1);
    w.u8(resource.id2);
    w.u8(resource.reserved);
    std::array<uint8_t, 24> entry{};
    std::copy(w.bytes().begin(), w.bytes().end(), entry.begin());
    return entry;
}

std::vector<uint8_t> dasfImage(const std::vector<DasfResource>& resources, uint8_t topId2)
{
    std::vector<uint8_t> index;
    for (const auto& r : resources) {
        auto entry = dasfIndexEntry(r);
        index.insert(index.end(), entry.begin(), entry.end());
    }
    ChunkBuilder b;
    b.open(0x01, 0x00, topId2, 0x14);
    b.leaf(0x02, 0, 0, 0x18, kRootInfo);
    const size_t indexOffset = b.offset();
    b.leaf(0x05, 0, 0, 0x18, index);
    zib::ByteWriter directory;
    directory.text("DBEG");
    directory.u32be(uint32_t(indexOffset));
    for (const auto& r : resources) {
        directory.u32be(uint32_t(b.offset()));
        b.raw(r.chunk);
    }
    directory.text("DEND");
    directory.u32be(uint32_t(resources.size() + 1));
    b.leaf(0xFE, 0, 0, 0x18, directory.bytes());
    b.close();
    return b.bytes();
}

std::vector<uint8_t> serialisedResInstance(uint8_t type, uint8_t id1, uint8_t id2, uint8_t flag,
                                           std::span<const uint8_t> chunk)
{
    zib::ByteWriter w;
    w.u8(type);
    w.u8(id1);
    w.u8(id2);
    w.u8(flag);
    w.u32le(uint32_t(chunk.size()));
    w.bytes(chunk);
    return w.take();
}

std::vector<uint8_t> sampleQeStyleChunk()
{
    // Pattern events: note on 36 at 0, its note off at 96, end of track at 1536.
    const std::vector<uint8_t> events = {0x01, 0x24, 0xE4,       // note on, velocity 100
                                         0xE0, 0x00, 0x24, 0xC0, // +96: note off, velocity 64
                                         0x8B, 0xA0, 0x09, 0x2F, 0x00, 0x00}; // +1440: end of track
    zib::ByteWriter pattern;
    pattern.u32be(1536);
    pattern.u32be(uint32_t(events.size()));
    pattern.bytes(events);

    zib::ByteWriter header;
    header.u8(18);
    putName(header, "Sample Style", 18);
    header.u16be(0xAAA0); // track modes 0, 0, 2, 2, 2, 2, 2, 2
    header.u8(0xF8);      // tension on tracks 3-7
    header.u16be(0x0001); // element VAR1

    zib::ByteWriter element;
    element.u8(0x01); // CV 0
    element.u8(1);    // NTT
    element.u8(0x22); // 4/4
    element.u8(22);
    element.fill(0, 22);

    zib::ByteWriter tracks;
    for (int t = 0; t < 8; ++t) {
        for (uint8_t v : {uint8_t(100), uint8_t(0), uint8_t(0), uint8_t(0), uint8_t(21), uint8_t(108)}) tracks.u8(v);
    }

    const std::vector<uint8_t> cvStream = {0x09, 0x7E, 0x00, 0x04, 0x03, 0x00, 0x00, 0x00, // start use 0
                                           0x8C, 0x80, 0x09, 0x2F, 0x00, 0x00};            // +1536: end
    zib::ByteWriter cv;
    cv.u32be(1536);
    cv.u32be(uint32_t(cvStream.size()));
    cv.bytes(cvStream);
    cv.u8(1);
    cv.u8(0); // pattern type 0
    cv.u8(0); // track 0

    ChunkBuilder b;
    b.open(0x01, 0, 0, 0x00);
    b.leaf(0x01, 0, 0, 0x08, header.bytes());
    b.open(0x02, 0, 0, 0x00);
    b.leaf(0x01, 0, 0, 0x08, {0x00, 0x01, 0x00, 0x01, 0x00, 0x01});
    b.leaf(0x02, 0, 0, 0x08, pattern.bytes());
    b.close();
    b.open(0x03, 0, 0, 0x00);
    b.leaf(0x01, 0, 0, 0x08, element.bytes());
    b.leaf(0x02, 0, 0, 0x08, tracks.bytes());
    b.leaf(0x03, 0, 0, 0x08, cv.bytes());
    b.close();
    b.close();
    return b.bytes();
}

std::vector<uint8_t> psrStyleImage(const std::string& name, std::span<const uint8_t> converterOutput)
{
    const uint32_t s = uint32_t(converterOutput.size());
    zib::ByteWriter w;
    w.bytes(chunkHead(0x01, 0x00, 0x01, 0x14, s + 88));
    w.bytes(chunkHead(0x02, 0x00, 0x00, 0x18, 12));
    w.bytes(kRootInfo);
    w.bytes(chunkHead(0x05, 0x00, 0x00, 0x18, 24));
    putName(w, name, 16);
    w.u16be(0);
    w.u32be(0x02000000); // type 2, user bytes 0, id1 0
    w.u16be(0);
    w.bytes(chunkHead(0x06, 0x00, 0x01, 0x10, s));
    w.bytes(converterOutput);
    w.bytes(chunkHead(0xFE, 0x00, 0x00, 0x18, 20));
    w.text("DBEG");
    w.u32be(28);
    w.u32be(60);
    w.text("DEND");
    w.u32be(2);
    return w.take();
}

std::vector<uint8_t> qeConverterStyleImage(const std::string& name, std::span<const uint8_t> styleChunk)
{
    const uint32_t total = uint32_t(96 + styleChunk.size());
    zib::ByteWriter w;
    w.bytes(chunkHead(0x01, 0x00, 0x01, 0x14, total - 8));
    w.bytes(chunkHead(0x02, 0x00, 0x00, 0x18, 12));
    w.bytes(kRootInfo);
    w.bytes(chunkHead(0x05, 0x00, 0x00, 0x18, 24));
    putName(w, name, 18);
    for (uint8_t v : {0x02, 0x11, 0x00, 0x00, 0x00, 0x00}) w.u8(v); // type 2, user byte 1 = 17
    w.bytes(chunkHead(0x06, 0x00, 0x00, 0x10, total - 96));
    w.bytes(styleChunk);
    for (uint8_t v : {0xFE, 0x00, 0x00, 0x18, 0x00, 0x00, 0x00, 0x14}) w.u8(v);
    w.text("DBEG");
    w.u32be(0x1C);
    w.u32be(0x3C);
    w.text("DEND");
    w.u32be(2);
    return w.take();
}

} // namespace zib::test
