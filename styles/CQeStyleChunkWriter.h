#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/ByteWriter.h"

namespace zib {

// One pattern use of a CV record: pattern type (0 DRUM/PERC, 1 BASS, 2 ACC)
// and style track.
struct QeCvUse {
    uint8_t type = 0;
    uint8_t track = 0;
};

// Writes the body of a Qe style, a tree of old-form chunks, into a buffer of
// fixed capacity (the converters' output buffer). Every chunk head is
// id, 0, 0, flags (0x00 container, 0x08 leaf) and a big-endian payload size
// that is written as 0 and patched when the chunk closes:
//
//   01 00 00 00  style
//     01 00 00 08  style header: name length, name, track modes (u16),
//                  track tension bits, element mask (u16)
//     02 00 00 00  pattern container
//       01 00 00 08  pattern map: chunk count, use count, one u16 per use
//       02/03/04 00 00 08  pattern: length (u32), S (u32), S bytes of
//                  property event stream, for ids 3 and 4 chord and key
//     03 00 00 00  element, one per present element
//       01 00 00 08  element info: CV mask, NTT, time signature, n, n chord bytes
//       02 00 00 08  track table: 8 records of 6 bytes
//       03 00 00 08  CV record: length (u32), S (u32), stream, N, N pairs
//
// A write that does not fit the capacity writes nothing and makes the writer
// fail for good (Failed()); every later write fails too.
class CQeStyleChunkWriter {
public:
    enum class Status { Ok, NoRoom, DeltaTooLarge };

    explicit CQeStyleChunkWriter(size_t capacity) : out_(capacity), capacity_(capacity) {}

    // Chunks
    bool OpenContainer(uint8_t id) { return Open(id, 0x00); }
    bool OpenLeaf(uint8_t id) { return Open(id, 0x08); }
    // Closes the innermost open chunk, patching its size; its payload size
    // goes to *payloadSize.
    bool Close(uint32_t* payloadSize = nullptr);
    size_t OpenDepth() const { return open_.size(); }

    // Plain bytes (numbers big-endian)
    bool HasRoom(size_t n) const { return !out_.failed() && n <= capacity_ - out_.size(); }
    bool U8(uint8_t v) { return out_.u8(v); }
    bool U16(uint16_t v) { return out_.u16be(v); }
    bool U32(uint32_t v) { return out_.u32be(v); }
    bool Bytes(std::span<const uint8_t> bytes) { return out_.bytes(bytes); }

    // Property event stream: a delta (at most 4 bytes, none for 0), an event
    // after its delta, the end of track (delta, 09 2F 00 00)
    Status Delta(uint32_t ticks);
    Status Event(uint32_t delta, std::span<const uint8_t> bytes);
    Status EndOfTrack(uint32_t delta);

    // Records, each a whole leaf chunk
    bool StyleHeader(std::span<const uint8_t> name, uint16_t trackModes, uint8_t tensionBits, uint16_t elementMask);
    bool PatternMap(uint16_t patternChunks, std::span<const uint16_t> uses);
    bool ElementInfo(uint8_t cvMask, uint8_t ntt, uint8_t timeSig, std::span<const uint8_t> chordAssign);
    bool TrackTable(std::span<const std::array<uint8_t, 6>> records);
    // A CV record whose stream starts every use at tick 0 (meta 7E: 03, k,
    // 00, 00) and ends at the CV length, followed by the uses.
    Status CvRecord(uint32_t length, std::span<const QeCvUse> uses);

    // Pattern chunk: head, pattern length, stream size (patched when the
    // pattern closes), then the stream written by the caller
    bool OpenPattern(uint8_t id, uint32_t length);
    size_t PatternStreamSize() const { return inPattern_ ? out_.size() - streamAt_ : 0; }
    // Patches the stream size, writes chord and key for ids 3 and 4 (nothing
    // for id 2) and closes the chunk; its payload size goes to *payloadSize.
    bool ClosePattern(uint8_t chord, uint8_t key, uint32_t* payloadSize = nullptr);

    // Result
    bool Failed() const { return out_.failed(); }
    size_t Size() const { return out_.size(); }
    size_t Capacity() const { return capacity_; }
    const std::vector<uint8_t>& Data() const { return out_.bytes(); }
    std::vector<uint8_t> Take() { return out_.take(); }

private:
    bool Open(uint8_t id, uint8_t flags);

    ByteWriter out_;
    size_t capacity_;
    std::vector<size_t> open_; // offsets of the open chunks' heads
    bool inPattern_ = false;
    uint8_t patternId_ = 0;
    size_t streamAt_ = 0;      // offset of the open pattern's stream
};

} // namespace zib
