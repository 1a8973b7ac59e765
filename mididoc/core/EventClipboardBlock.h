#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zib {

// The event clipboard block: events and track headers between event lists
// and MIDI documents under the program's private clipboard format. All
// numbers little-endian, nothing aligned.
//
// Head (584 bytes)
//   0  u8   mark 0x20            19 u32  bytes of the event records
//   1  u32  kind 100             23 u8   one-track flag
//   5  8    reserved             24 u8   track events copied
//   13 u32  number of records    25 u8   markers (text, lyric, marker of track 0)
//   17 2    reserved             26 u8   tempo changes
//                                27 u8   time signatures
//                                28 u32  number of track headers
//                                32 552  reserved
// Track header (268 bytes each, after the head)
//   0 257 name (NUL-terminated)  261 u8 port   263 u16 bank (MSB x 256 + LSB)
//   257 u32 track record index   262 u8 channel 265 u8 program  266 u8 volume  267 u8 pan
// Event record (17 bytes and the data, after the headers)
//   0 u32 time relative to the first record   5 u16 data length n   11 u32 duration  16 u8 flags
//   4 u8  status                               7 u32 paired flag     15 u8  track     17 n  raw bytes
struct ClipboardTrackHeader {
    std::string name; // Windows-1252 bytes, at most 256
    uint32_t trackIndex = 0;
    uint8_t port = 0;
    uint8_t channel = 0;
    uint16_t bank = 0;
    uint8_t program = 0;
    uint8_t volume = 0;
    uint8_t pan = 0;
    bool operator==(const ClipboardTrackHeader&) const = default;
};

struct ClipboardEventRecord {
    uint32_t time = 0;
    uint8_t status = 0;
    std::vector<uint8_t> data;
    uint32_t paired = 0;
    uint32_t duration = 0;
    uint8_t track = 0;
    uint8_t flags = 0;
    bool operator==(const ClipboardEventRecord&) const = default;
};

class EventClipboardBlock {
public:
    static constexpr uint8_t kMark = 0x20;
    static constexpr uint32_t kKind = 100;
    static constexpr size_t kHeadSize = 584;
    static constexpr size_t kTrackHeaderSize = 268;
    static constexpr size_t kRecordHeadSize = 17;

    // How reading a block ended
    enum class Decoded {
        Ok,
        NotEventBlock, // too short for the mark and kind, or another mark or kind
        Malformed,     // an event block whose counts, sizes or records do not hold
    };

    bool oneTrack = false;
    bool trackEvents = false;
    bool markers = false;
    bool tempo = false;
    bool tact = false;
    std::vector<ClipboardTrackHeader> headers;
    std::vector<ClipboardEventRecord> records;

    // The block's bytes
    std::vector<uint8_t> Encode() const;
    size_t EncodedSize() const;
    // Reads a block, checking the whole of it against its real size before
    // anything is kept: the head, every count, every header and record, each
    // record's status (0x80 and above) and length (enough for its status, an
    // inner meta or system-exclusive length inside the record)
    static Decoded Decode(std::span<const uint8_t> block, EventClipboardBlock& out);

    bool operator==(const EventClipboardBlock&) const = default;
};

} // namespace zib
