#pragma once

#include "ulvarf/CResManInfo.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace zib::ulvarf {

class CResourceInstance;

// A DASF container (the container handle): root info, an index of named
// entries and one resource chunk per entry, read from and written to a
// container image (all numbers big-endian, offsets from the first byte):
//
//   offset    bytes  content
//   0         8      top chunk 01 00 01 14, size = image length - 8
//   8         8      root info chunk 02 00 00 18, size 12
//   16        12     root info: 11, six zeros, "DASF", NUL
//   28        8      index chunk 05 00 00 18, size 24n
//   36        24n    index entries (CResManInfo)
//   36 + 24n  ...    the n resource chunks, in index order
//   after     8      directory chunk FE 00 00 18, size 4n + 16
//             4n+16  "DBEG", offset of the index chunk (28), the n resource
//                    chunk offsets, "DEND", n + 1
//
// Image length = 60 + 28n + the sum of (8 + size) of the resource chunks.
class CResourceFile {
public:
    static constexpr size_t kRootInfoSize = 12;
    static constexpr size_t kMinImage = 29;
    using RootInfo = std::array<uint8_t, kRootInfoSize>;
    using IndexEntry = std::array<uint8_t, CResManInfo::kEntrySize>;

    // Creation
    // An empty container: the default root info and no entries.
    CResourceFile();
    // A container read from an image. An image shorter than 29 bytes gives an
    // empty container; one whose signatures do not match, or whose chunks run
    // past their parent or the image, gives null. The entries are cut to the
    // resource chunks the image holds (and to 2000); each chunk is stored
    // compressed when that makes it smaller. Every chunk between the index and
    // the directory is a resource, of either form.
    static std::unique_ptr<CResourceFile> FromImage(std::span<const uint8_t> image);
    ~CResourceFile();
    CResourceFile(const CResourceFile&) = delete;
    CResourceFile& operator=(const CResourceFile&) = delete;

    // Handle check: the first word holds the object's own address.
    bool IsValid() const;

    // The image
    uint64_t OutBufferSize() const;
    // Writes the image into a buffer of at least OutBufferSize bytes.
    bool FillOutBuffer(std::span<uint8_t> buffer) const;

    // The index
    size_t count() const { return index_.entries.size(); }
    const RootInfo& rootInfo() const { return rootInfo_; }
    const IndexEntry& entry(size_t i) const { return index_.entries[i].info; }
    const CChunkNavComp* resourceChunk(size_t i) const { return index_.entries[i].chunk.get(); }
    // Copies the name (at most 17 characters and a NUL into 18 bytes) and the
    // type and user bytes; false for an index out of range.
    bool EnumIndex(int i, char* name, int* type, int* user1, int* user2) const;
    // A non-null name replaces the name (17 characters at most, NUL-padded);
    // a user value of 0 or more sets its byte (low 8 bits), a negative one keeps it.
    bool ModifyIndex(int i, const char* name, int user1, int user2);
    bool DeleteResource(int i);

    // Resources
    // A copy of entry i's chunk as an instance (type byte 18, ids bytes 21
    // and 22, flag byte 0); null for an index out of range.
    std::unique_ptr<CResourceInstance> ExtractResource(int i) const;
    // Replaces entry i when its type matches, or appends a new entry for i
    // outside 0..n-1; the index used, or -1 (also for a chunk with the
    // directory's id FE, which no reader would take back).
    int InsertResource(int i, const CResourceInstance& resource);

private:
    bool inRange(int i) const { return i >= 0 && size_t(i) < count(); }

    uintptr_t self_; // first word of the handle
    RootInfo rootInfo_;
    CResManInfo index_;
};

} // namespace zib::ulvarf
