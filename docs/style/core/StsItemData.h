#pragma once

#include <cstdint>
#include <span>

namespace zib {

// The data of an STS block: the serialised resource instance of an STS item
// (type 7) or of a performance (type 1), read and written in place.
//
//   0     u8        resource type (7 STS item, 1 performance)
//   4     u32 LE    chunk length of the instance        } each grows by 261
//   12    u32 BE    a length                            } when an STS is
//   20    u32 BE    a length                            } inserted
//   24    u32 BE    length of the data (not above the buffer's size)
//   36    u8        number of STS blocks after the style track records (0-4)
//   38    u8        style bank (category 0-19)
//   39    u8        style position in the bank
//   41    u8        tempo 40-240
//   42    u8        initial variation 0-3
//   43    u8        initial style element 0-9 (Qe4k) or 0-11 (Qe9z)
//   45    u8        fill 1 mode 0-14
//   46    u8        fill 2 mode 0-14
//   136   8 x 37    style track records DRUM, PERC, BASS, ACC1-ACC5
//   432   n x 261   STS blocks: a 113-byte head whose first byte is the slot
//                   (0-3 for STS1-STS4), then the records of LOW, UP1, UP2, UP3
//   then            further data, carried unchanged
//
// Track record (37 bytes): 8 bank MSB, 9 bank LSB, 11 program, 12 volume
// 0-127, 13 pan 0-127 (64 the centre, 255 off); bytes 8-11 big-endian are
// the sound value of the sound names. Every other byte is carried unchanged.
struct StsItemData {
    static constexpr size_t kLengthLE = 4;
    static constexpr size_t kLengthBE1 = 12;
    static constexpr size_t kLengthBE2 = 20;
    static constexpr size_t kDataLength = 24;
    static constexpr size_t kStsCount = 36;
    static constexpr size_t kBank = 38;
    static constexpr size_t kPosition = 39;
    static constexpr size_t kTempo = 41;
    static constexpr size_t kVariation = 42;
    static constexpr size_t kElement = 43;
    static constexpr size_t kFill1 = 45;
    static constexpr size_t kFill2 = 46;
    static constexpr size_t kStyleTracks = 136;
    static constexpr size_t kFirstSts = 432;
    static constexpr size_t kTrackRecord = 37;
    static constexpr size_t kStsBlock = 261;
    static constexpr size_t kStsHead = 113;
    static constexpr int kStyleTrackCount = 8;
    static constexpr int kRealtimeTrackCount = 4; // LOW, UP1, UP2, UP3
    static constexpr int kMaxSts = 4;

    // The arranger bytes, by offset (kBank ... kFill2)
    static uint8_t Get(std::span<const uint8_t> data, size_t offset)
    {
        return offset < data.size() ? data[offset] : 0;
    }
    static void Set(std::span<uint8_t> data, size_t offset, uint8_t value)
    {
        if (offset < data.size()) data[offset] = value;
    }
};

// One 37-byte track record inside an STS block's data.
class StsTrackRecord {
public:
    static constexpr size_t kMsb = 8;
    static constexpr size_t kLsb = 9;
    static constexpr size_t kProgram = 11;
    static constexpr size_t kVolume = 12;
    static constexpr size_t kPan = 13;

    // The record at `offset`; an empty span when it does not lie in `data`.
    StsTrackRecord(std::span<uint8_t> data, size_t offset);
    // Style track t (0-7) of the data; STS slot's realtime track r (0-3) of
    // the block at `blockOffset`.
    static StsTrackRecord StyleTrack(std::span<uint8_t> data, int t);
    static StsTrackRecord RealtimeTrack(std::span<uint8_t> data, size_t blockOffset, int r);

    bool Valid() const { return !record_.empty(); }
    // bank MSB << 24 | bank LSB << 16 | byte 10 << 8 | program
    uint32_t Sound() const;
    void SetSound(uint32_t sound); // MSB, LSB and program; byte 10 stays
    uint8_t Volume() const { return Valid() ? record_[kVolume] : 0; }
    void SetVolume(uint8_t v);
    uint8_t Pan() const { return Valid() ? record_[kPan] : 0; }
    void SetPan(uint8_t v);

private:
    std::span<uint8_t> record_;
};

} // namespace zib
