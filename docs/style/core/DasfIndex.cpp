#include "docs/style/core/DasfIndex.h"

#include "platform/ByteCursor.h"
#include "platform/ByteWriter.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

namespace zib {

namespace {

constexpr size_t kHead = 8;
constexpr size_t kEntrySize = 24;

// Offset and length (head included) of the index chunk, or length 0.
std::pair<size_t, size_t> locateIndex(std::span<const uint8_t> image)
{
    uint64_t offset = 0;
    while (offset + kHead <= image.size()) {
        ByteCursor head(image.data() + offset, kHead);
        const uint8_t id = head.u8();
        head.skip(2);
        const uint8_t flag = head.u8();
        const uint32_t size = head.u32be();
        if (id == 5 && flag == 0x18) {
            if (offset + kHead + size > image.size()) return {0, 0};
            return {size_t(offset), kHead + size};
        }
        offset += id == 1 ? kHead : kHead + uint64_t(size);
    }
    return {0, 0};
}

// The size field of an index chunk when it holds entry i; 0 otherwise.
bool holdsEntry(std::span<const uint8_t> chunk, int i)
{
    if (chunk.size() < kHead || i < 0) return false;
    ByteCursor c(chunk.data() + 4, 4);
    const uint32_t size = c.u32be();
    if (size < kEntrySize || size % kEntrySize != 0 || size > chunk.size() - kHead) return false;
    return uint32_t(i) < size / kEntrySize;
}

void put(ByteWriter& w, std::initializer_list<uint8_t> bytes)
{
    w.bytes(bytes.begin(), bytes.size());
}

} // namespace

std::span<const uint8_t> FindIndexChunk(std::span<const uint8_t> image)
{
    const auto [offset, length] = locateIndex(image);
    return length ? image.subspan(offset, length) : std::span<const uint8_t>();
}

std::span<uint8_t> FindIndexChunk(std::span<uint8_t> image)
{
    const auto [offset, length] = locateIndex(image);
    return length ? image.subspan(offset, length) : std::span<uint8_t>();
}

int ReadIndexEntry(std::span<const uint8_t> chunk, int i, DasfIndexEntry& entry)
{
    if (!holdsEntry(chunk, i)) return 0;
    const uint8_t* e = chunk.data() + kHead + size_t(i) * kEntrySize;
    std::memcpy(entry.name.data(), e, entry.name.size());
    entry.type = e[18];
    entry.user1 = e[19];
    entry.user2 = e[20];
    return 1;
}

int WriteIndexEntry(std::span<uint8_t> chunk, int i, const DasfIndexEntry& entry)
{
    if (!holdsEntry(chunk, i)) return 0;
    uint8_t* e = chunk.data() + kHead + size_t(i) * kEntrySize;
    std::memcpy(e, entry.name.data(), entry.name.size());
    e[18] = entry.type;
    e[19] = entry.user1;
    e[20] = entry.user2;
    return 1;
}

bool IsDasfContainer(std::span<const uint8_t> image)
{
    static constexpr uint8_t kTop[] = {0x01, 0x00, 0x01, 0x14};
    static constexpr uint8_t kRoot[] = {0x02, 0x00, 0x00, 0x18, 0x00, 0x00, 0x00, 0x0C};
    if (image.size() < 27) return false;
    ByteCursor c(image);
    if (!std::equal(std::begin(kTop), std::end(kTop), image.begin())) return false;
    c.skip(4);
    if (c.u32be() != image.size() - 8) return false;
    if (!std::equal(std::begin(kRoot), std::end(kRoot), image.begin() + 8)) return false;
    return std::memcmp(image.data() + 23, "DASF", 4) == 0;
}

std::vector<uint8_t> MakeOneResourceContainer(std::span<const uint8_t> styleChunkPayload, std::string_view name)
{
    const uint32_t n = uint32_t(styleChunkPayload.size());
    ByteWriter w;
    w.reserve(size_t(n) + 68);
    put(w, {0x01, 0x00, 0x01, 0x14});
    w.u32be(n + 68 - 8);
    put(w, {0x02, 0x00, 0x00, 0x18, 0x00, 0x00, 0x00, 0x0C});
    w.u8(0x0B);
    w.fill(0, 6);
    w.text("DASF");
    w.u8(0);
    put(w, {0x05, 0x00, 0x00, 0x18, 0x00, 0x00, 0x00, 0x18});
    std::array<uint8_t, 18> entryName{};
    std::memcpy(entryName.data(), name.data(), std::min(name.size(), entryName.size()));
    w.bytes(entryName);
    put(w, {0x02, 0x00, 0x00, 0x00, 0x00, 0x00});
    put(w, {0x06, 0x00, 0x00, 0x10});
    w.u32be(n);
    w.bytes(styleChunkPayload);
    return w.take();
}

} // namespace zib
