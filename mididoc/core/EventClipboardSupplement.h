#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zib {

class CMidiEvent;
class CMidiParserEx;

// What a copy keeps beside its event clipboard block, under a clipboard
// format of its own: the block's layout stays as every running copy of the
// program reads it, and a reader that asks for the block alone never sees
// this. It holds the division of the copied song, so that a paste into a
// song of another division keeps the music in its places, and the note-off
// of each copied note as it was (its status and release velocity), which
// the block's note-on carries only as a duration.
//
// Layout, little-endian, nothing aligned:
//   0  u32  kind 1
//   4  u32  size in bytes of the block it belongs to
//   8  u32  number of event records of that block
//   12 u16  ticks per quarter note of the copied song (0: not known)
//   14 u32  number of note-offs n
//   18 n x 6 bytes, in rising record order:
//        u32 index of the note-on's record, u8 the note-off's status, u8 its velocity
// A reader ignores bytes after the note-offs.
class EventClipboardSupplement {
public:
    static constexpr uint32_t kKind = 1;
    static constexpr size_t kHeadSize = 18;
    static constexpr size_t kNoteOffSize = 6;

    struct NoteOff {
        uint32_t record = 0;
        uint8_t status = 0x80;
        uint8_t velocity = 0;
        bool operator==(const NoteOff&) const = default;
    };

    uint16_t division = 0;
    std::vector<NoteOff> noteOffs;

    // The supplement of a copy: the song's division and, for each copied
    // note-on (`copied`, one per record of the block, in its order), the
    // note-off of its pair in the song
    static EventClipboardSupplement Of(const CMidiParserEx& sequence,
                                       std::span<const CMidiEvent* const> copied);

    // Its bytes for a block of `blockSize` bytes and `recordCount` records
    std::vector<uint8_t> Encode(size_t blockSize, size_t recordCount) const;
    // Reads the supplement of the block of that size and record count. A
    // supplement of another block, of another kind, short, with note-offs out
    // of order, past the records or that are no note-offs is not used: the
    // result is then empty, and the block pastes as it would alone.
    static EventClipboardSupplement Decode(std::span<const uint8_t> bytes, size_t blockSize,
                                           size_t recordCount);

    // The note-off of record `record`, or null; `from` walks on with
    // rising records (start it at 0)
    const NoteOff* NoteOffOf(uint32_t record, size_t& from) const;

    bool operator==(const EventClipboardSupplement&) const = default;
};

} // namespace zib
