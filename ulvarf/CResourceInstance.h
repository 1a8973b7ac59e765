#pragma once

#include "ulvarf/CChunkNavComp.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace zib::ulvarf {

// One resource outside a container (the resource-instance handle): its type,
// two id bytes, a flag byte carried unchanged, and its chunk, kept compressed
// (COComp version 3, level 2) whenever that makes it smaller.
//
// Serialised form:
//   offset  bytes  content
//   0       1      type (2 style, 9 style of the other kind, 7 STS data, ...)
//   1       1      id1
//   2       1      id2
//   3       1      flag byte
//   4       4      L = chunk length, little-endian
//   8       L      the chunk (head and payload); L = its big-endian size + 8
class CResourceInstance {
public:
    static constexpr size_t kSerialHeadSize = 8;
    static constexpr uint8_t kTypeSts = 7; // the one type that is also written decompressed

    // Creation
    // From the serialised form; null unless the data holds at least 16 bytes,
    // 8 <= L, L + 8 <= the data length, and L equals the chunk's size + 8.
    static std::unique_ptr<CResourceInstance> FromSerialised(std::span<const uint8_t> data);
    // A copy of the cursor's current chunk.
    static std::unique_ptr<CResourceInstance> FromChunk(uint8_t type, uint8_t id1, uint8_t id2, uint8_t flag,
                                                        const CChunkNav& chunk);
    ~CResourceInstance();
    CResourceInstance(const CResourceInstance&) = delete;
    CResourceInstance& operator=(const CResourceInstance&) = delete;

    // Handle tag: the complement of the instance's address while it lives.
    bool IsValid() const;
    void Invalidate() { tag_ = 0; }

    // Fields
    uint8_t type() const { return type_; }
    uint8_t id1() const { return id1_; }
    uint8_t id2() const { return id2_; }
    uint8_t flagByte() const { return flag_; }
    const CChunkNavComp& chunk() const { return chunk_; }

    // Serialised form
    uint64_t SerialisedSize() const;
    bool PutSerialised(std::span<uint8_t> out) const;
    // For a compressed type-7 chunk the size with the chunk decompressed; a
    // block too damaged to tell its length counts as stored.
    uint64_t SerialisedSizeUnComp() const;
    // Writes a type-7 chunk decompressed with its check byte verified; false
    // when it cannot be decompressed. Other types as PutSerialised.
    bool PutSerialisedUnComp(std::span<uint8_t> out) const;

private:
    CResourceInstance(uint8_t type, uint8_t id1, uint8_t id2, uint8_t flag, const CChunkNav& chunk);
    static bool put(std::span<uint8_t> out, uint8_t type, uint8_t id1, uint8_t id2, uint8_t flag,
                    std::span<const uint8_t> chunk);

    uintptr_t tag_; // first word of the handle
    uint8_t type_;
    uint8_t id1_;
    uint8_t id2_;
    uint8_t flag_;
    CChunkNavComp chunk_;
};

} // namespace zib::ulvarf
