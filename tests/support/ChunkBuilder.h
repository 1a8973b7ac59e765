#pragma once

#include "platform/ByteWriter.h"

#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

namespace zib::test {

// The 8-byte head of a chunk: id, id1, id2, flags, big-endian payload size.
std::vector<uint8_t> chunkHead(uint8_t id, uint8_t id1, uint8_t id2, uint8_t flags, uint32_t size);

// Builds chunk trees in memory. Containers are opened and closed (their size
// is written when they close); leaves are written whole; raw bytes make
// damaged trees (a head whose size lies).
class ChunkBuilder {
public:
    // Chunks
    ChunkBuilder& open(uint8_t id, uint8_t id1, uint8_t id2, uint8_t flags);
    ChunkBuilder& close();
    ChunkBuilder& leaf(uint8_t id, uint8_t id1, uint8_t id2, uint8_t flags, std::span<const uint8_t> payload);
    ChunkBuilder& leaf(uint8_t id, uint8_t id1, uint8_t id2, uint8_t flags, std::initializer_list<uint8_t> payload);
    ChunkBuilder& raw(std::span<const uint8_t> bytes);
    ChunkBuilder& raw(std::initializer_list<uint8_t> bytes);

    // Result
    size_t offset() const { return out_.size(); } // where the next chunk's head goes
    std::vector<uint8_t> bytes() const;           // every container must be closed

private:
    zib::ByteWriter out_;
    std::vector<size_t> open_;
};

} // namespace zib::test
