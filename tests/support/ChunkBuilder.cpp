#include "tests/support/ChunkBuilder.h"

#include <stdexcept>

namespace zib::test {

std::vector<uint8_t> chunkHead(uint8_t id, uint8_t id1, uint8_t id2, uint8_t flags, uint32_t size)
{
    zib::ByteWriter w;
    w.u8(id);
    w.u8(id1);
    w.u8(id2);
    w.u8(flags);
    w.u32be(size);
    return w.take();
}

ChunkBuilder& ChunkBuilder::open(uint8_t id, uint8_t id1, uint8_t id2, uint8_t flags)
{
    open_.push_back(out_.size());
    out_.bytes(chunkHead(id, id1, id2, flags, 0));
    return *this;
}

ChunkBuilder& ChunkBuilder::close()
{
    if (open_.empty()) throw std::logic_error("ChunkBuilder::close without open");
    const size_t head = open_.back();
    open_.pop_back();
    out_.patchU32be(head + 4, uint32_t(out_.size() - head - 8));
    return *this;
}

ChunkBuilder& ChunkBuilder::leaf(uint8_t id, uint8_t id1, uint8_t id2, uint8_t flags, std::span<const uint8_t> payload)
{
    out_.bytes(chunkHead(id, id1, id2, flags, uint32_t(payload.size())));
    out_.bytes(payload);
    return *this;
}

ChunkBuilder& ChunkBuilder::leaf(uint8_t id, uint8_t id1, uint8_t id2, uint8_t flags,
                                 std::initializer_list<uint8_t> payload)
{
    return leaf(id, id1, id2, flags, std::span<const uint8_t>(payload.begin(), payload.size()));
}

ChunkBuilder& ChunkBuilder::raw(std::span<const uint8_t> bytes)
{
    out_.bytes(bytes);
    return *this;
}

ChunkBuilder& ChunkBuilder::raw(std::initializer_list<uint8_t> bytes)
{
    return raw(std::span<const uint8_t>(bytes.begin(), bytes.size()));
}

std::vector<uint8_t> ChunkBuilder::bytes() const
{
    if (!open_.empty()) throw std::logic_error("ChunkBuilder::bytes with an open container");
    return out_.bytes();
}

} // namespace zib::test
