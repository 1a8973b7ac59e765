#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zib::ulvarf {

// Chunk head: id, id1, id2, flags, then the payload size (big-endian 32-bit,
// head excluded). A container's payload is its children end to end.
inline constexpr size_t kChunkHeadSize = 8;
inline constexpr uint8_t kChunkTop = 0x04;        // top chunk of a container image
inline constexpr uint8_t kChunkLeaf = 0x08;       // leaf holding data (clear: children)
inline constexpr uint8_t kChunkNewForm = 0x10;    // new-form chunk
inline constexpr uint8_t kChunkCompressed = 0x20; // payload is one COComp block

// What a flag bit must be for a chunk to be accepted.
enum class FlagWanted : uint8_t { Any = 0, Clear = 1, Set = 2 };

// The chunk that enter, next and search accept. An id of 256 or more asks for
// the id byte id & 0xFF (WantId(5) = 261); below 256 any id is accepted.
struct ChunkWanted {
    unsigned id = 0;
    FlagWanted newForm = FlagWanted::Any;
    FlagWanted leaf = FlagWanted::Any;
};
constexpr unsigned WantId(uint8_t id) { return 256u + id; }

// A chunk to create. A container child (leaf false) always gets size 0.
struct NewChunk {
    uint8_t id = 0;
    uint8_t id1 = 0;
    uint8_t id2 = 0;
    bool newForm = false;
    bool leaf = false;
    uint32_t size = 0;
};

// The result of a navigation or edit: the id byte of the chunk now current
// and whether the operation worked. On failure the cursor has not moved.
struct NavResult {
    uint8_t id = 0;
    bool ok = false;
    explicit operator bool() const { return ok; }
};

// A cursor over a tree of chunks laid end to end in one buffer: it walks,
// searches, inserts, deletes, resizes, compresses and decompresses chunks in
// place and keeps the size of every enclosing chunk right.
//
// Every step is checked: a chunk is entered or reached only when its whole
// head and payload lie inside its parent (and the top chunk inside the
// buffer), so a damaged tree ends a walk instead of leading it outside the
// buffer. A cursor over a caller's buffer refuses any growth beyond that
// buffer; a cursor that owns its buffer grows it. The path is kept as head
// offsets, so it survives the buffer moving.
class CChunkNav {
public:
    // Construction
    // Over a caller's buffer (not owned); the tree starts at its first byte.
    explicit CChunkNav(std::span<uint8_t> buffer);
    // An owned copy of the other cursor's current chunk as the top chunk,
    // with `extraRoom` bytes reserved beyond it.
    CChunkNav(const CChunkNav& other, size_t extraRoom);
    // A copy of the other cursor's current chunk into a caller's buffer;
    // not valid when the buffer is too small.
    CChunkNav(const CChunkNav& other, std::span<uint8_t> buffer);
    // Owning the given bytes, which hold a tree at their start; grows on demand.
    static CChunkNav Owning(std::vector<uint8_t> bytes);
    // Read-only walking over a caller's image; every edit fails.
    static CChunkNav ReadOnly(std::span<const uint8_t> image);
    virtual ~CChunkNav();
    CChunkNav(const CChunkNav&) = delete;
    CChunkNav& operator=(const CChunkNav&) = delete;

    // Writes a chunk head into `out` (at least 8 bytes).
    static bool WriteChunkHead(std::span<uint8_t> out, uint8_t id, uint8_t id1, uint8_t id2,
                               uint8_t flags, uint32_t size);

    // The current chunk
    bool valid() const { return !path_.empty(); } // false when the top chunk does not fit
    int depth() const { return int(path_.size()) - 1; }
    uint8_t id() const { return byteAt(0); }
    uint8_t id1() const { return byteAt(1); }
    uint8_t id2() const { return byteAt(2); }
    uint8_t flags() const { return byteAt(3); }
    uint32_t PayloadSize() const;
    size_t headerOffset() const { return valid() ? path_.back() : 0; }
    std::span<const uint8_t> Payload() const;
    std::span<uint8_t> WritablePayload();       // empty on a read-only cursor
    std::span<const uint8_t> Chunk() const;     // head and payload
    bool SetFlags(uint8_t flags);

    // The buffer
    std::span<const uint8_t> Image() const;     // the whole tree: top chunk size + 8 bytes
    size_t usedLength() const;
    size_t freeRoom() const;
    bool ownsBuffer() const { return owns_; }
    void ShrinkToUsed();                        // owned buffers only

    // Navigation
    NavResult Top();
    NavResult Enter(const ChunkWanted& wanted = {});
    NavResult Next(const ChunkWanted& wanted = {});
    NavResult Up();
    // Depth-first search in document order for a chunk that passes `wanted`
    // and, when exactDepth is above 0, lies at that depth. The search does not
    // enter below exactDepth, and fails once it climbs back to the stop depth
    // (floorDepth, or the smaller of floorDepth and exactDepth when exactDepth
    // is given), never climbing above it. On failure the cursor stays where
    // it was.
    NavResult Search(const ChunkWanted& wanted, int floorDepth, int exactDepth);
    // Climbs while the target lies before the current chunk, then searches
    // forward at exactDepth (0 = any) until the chunk with its head at
    // `headerOffset` is current.
    NavResult GoToHeader(size_t headerOffset, int exactDepth);

    // Editing (all fail on a read-only cursor, or when a caller's buffer lacks room)
    // Sets the current chunk's size; the bytes after it move with its end and
    // every ancestor's size changes by the same amount. New bytes are zero.
    bool Resize(uint32_t newSize);
    uint8_t* ResizeAndGetPayload(uint32_t newSize); // null on failure
    bool SetPayload(std::span<const uint8_t> bytes);
    // Removes the current chunk. The cursor stays at its position, which now
    // holds the next sibling, or moves up to the parent when there is none.
    NavResult DeleteCurrent();
    // Opens room at the start of the current container's payload (before any
    // children it has), writes the new chunk there and enters it.
    NavResult AddFirstChild(const NewChunk& chunk);
    NavResult AddFirstChildCopy(const CChunkNav& other);
    // Opens room right after the current chunk, writes the new chunk there
    // and moves to it; needs a parent.
    NavResult InsertSibling(const NewChunk& chunk);
    NavResult InsertSiblingCopy(const CChunkNav& other);
    // A sibling with the current chunk's id bytes and flags; like any new
    // container, it starts empty when the current chunk is a (plain) container.
    NavResult InsertSiblingLikeCurrent(uint32_t size);

    // Compression of the current chunk's payload
    // Replaces the payload by a COComp block and sets bit 0x20; fails, leaving
    // the payload as it was, when the block would not be smaller. Succeeds
    // without change when the bit is already set.
    bool Compress(int version, int level);
    // Replaces a COComp payload by its data and clears bit 0x20; fails,
    // leaving the payload as it was, when the block is damaged or (with
    // `check`) its check byte differs. Succeeds without change when the bit
    // is clear.
    bool Decompress(bool check);

private:
    struct ReadOnlyTag {};
    struct OwningTag {};
    CChunkNav(ReadOnlyTag, std::span<const uint8_t> image);
    CChunkNav(OwningTag, std::vector<uint8_t> bytes);
    void adoptTop();
    void copyFrom(const CChunkNav& other);
    const uint8_t* bytes() const { return readOnly_ ? view_ : base_; }
    uint8_t byteAt(size_t i) const;
    uint32_t sizeAt(size_t head) const;
    void setSizeAt(size_t head, uint32_t size);
    size_t endOf(size_t head) const { return head + kChunkHeadSize + sizeAt(head); }
    bool fits(size_t head, size_t end) const;
    bool passes(size_t head, const ChunkWanted& wanted) const;
    bool pathOk() const;
    bool editable() const { return !readOnly_ && pathOk(); }
    bool ensureRoom(size_t needed);
    bool moveTail(size_t at, int64_t delta, size_t levels);
    NavResult current() const;
    NavResult insertAfter(const uint8_t* head, std::span<const uint8_t> payload, uint32_t size);
    NavResult insertFirst(const uint8_t* head, std::span<const uint8_t> payload, uint32_t size);

    std::vector<uint8_t> owned_;
    uint8_t* base_ = nullptr;
    const uint8_t* view_ = nullptr;
    size_t capacity_ = 0;
    bool owns_ = false;
    bool readOnly_ = false;
    std::vector<size_t> path_; // head offsets from the top chunk (0) to the current one
};

} // namespace zib::ulvarf
