#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/ByteCursor.h"

namespace zib {

// Errors of the pattern chunk cursor and the pattern filter. The texts are in
// CStyleTrackChunk.cpp.
enum class TrackChunkError : int {
    None = 0,
    SizeField = 1,    // the size field is not the chunk length - 8
    BeyondChunk = 2,  // a read past the end of the chunk or of its event stream
    KindByte = 3,     // a kind byte with bit 7 set
    DeltaTooLong = 4, // a delta of more than 4 bytes, or a merged delta of 2^28 ticks or more
    UnknownForm = 6,  // a kind byte with flag 0x20 whose third byte lacks bit 7
    OutputSize = 7,   // Build: no output buffer, nothing measured, or a buffer of another size than measured
};

// The text of a code, or nullptr for a code without one.
const char* TrackChunkErrorText(int code);

// A cursor over one pattern chunk of a Qe style resource that reads its
// property event stream event by event and hands each event to a virtual
// operation:
//
//   offset  bytes  field
//   0       8      chunk head: id, id1, id2, flags, big-endian size (length - 8)
//   8       4      pattern length in ticks
//   12      4      S, the length of the event stream
//   16      S      property event stream
//   16+S    2      chunks of ids 3 and 4 only: chord, key
//
// Every read stays inside the chunk and inside its S bytes of stream.
class CStyleTrackChunk {
public:
    enum class Mode : uint32_t { Measuring = 0, Writing = 1 };

    // A delta that cannot be written in 4 bytes (WriteDelta's count)
    static constexpr int kDeltaTooLarge = 5;

    CStyleTrackChunk() = default;
    virtual ~CStyleTrackChunk() = default;
    CStyleTrackChunk(const CStyleTrackChunk&) = delete;
    CStyleTrackChunk& operator=(const CStyleTrackChunk&) = delete;

    // Walking the chunk set with SetChunk: 0 or a TrackChunkError code
    int WalkChunk();
    int ReadEvent();

    // The delta form of the property event stream: 7 bits per byte, most
    // significant first, bit 7 set on every byte, nothing for 0.
    // DecodeDelta reads the leading bytes with bit 7 set (at most 4).
    static uint32_t DecodeDelta(std::span<const uint8_t> bytes);
    // The bytes of a delta and their count 0-4; kDeltaTooLarge (nothing
    // written) from 2^28 on.
    static int WriteDelta(uint64_t value, uint8_t (&out)[4]);

    // The chord/key trailer of the last walk
    bool HasChord() const { return hasChord_; }
    bool HasKey() const { return hasKey_; }
    uint8_t GetChord() const { return chord_; }
    uint8_t GetKey() const { return key_; }

    // Position of the last walk
    uint64_t GetRunningTime() const { return runningTime_; }
    uint32_t GetStreamSize() const { return streamSize_; }

protected:
    // Events, called in stream order; a non-zero result stops the walk with it
    virtual int OnOtherEvent() { return 0; }   // kinds 11-29 and the flag-0x20 form
    virtual int OnChannelEvent() { return 0; } // kinds 0-8, 10 (system exclusive), 30, 31
    virtual int OnMetaEvent() { return 0; }    // kind 9

    void SetChunk(std::span<const uint8_t> chunk) { chunk_ = chunk; }
    std::span<const uint8_t> GetChunk() const { return chunk_; }

    // The event being dispatched
    uint32_t GetDelta() const { return delta_; }
    std::span<const uint8_t> GetDeltaBytes() const { return chunk_.subspan(deltaAt_, deltaBytes_); }
    std::span<const uint8_t> GetEventBytes() const { return chunk_.subspan(eventAt_, eventLength_); } // kind byte to last payload byte
    uint8_t GetKind() const { return kind_; }
    bool HasTrackChange() const { return trackChange_; }
    uint8_t GetTrackChangeByte() const { return trackChangeByte_; }

    Mode mode_ = Mode::Measuring;
    uint64_t pendingDelta_ = 0; // ticks of dropped events owed to the next kept one

private:
    std::span<const uint8_t> chunk_;
    ByteCursor stream_;         // the S bytes of the event stream
    size_t streamAt_ = 16;      // chunk offset of the stream
    uint32_t streamSize_ = 0;   // S
    uint64_t runningTime_ = 0;  // sum of the deltas read
    uint32_t delta_ = 0;
    size_t deltaAt_ = 0;
    size_t deltaBytes_ = 0;
    bool trackChange_ = false;  // kind byte flag 0x40
    bool flag20_ = false;       // kind byte flag 0x20
    uint8_t kind_ = 0;          // low 5 bits of the kind byte
    uint8_t trackChangeByte_ = 0;
    size_t eventAt_ = 0;
    size_t eventLength_ = 0;
    uint8_t chord_ = 0;
    uint8_t key_ = 0;
    bool hasChord_ = false;
    bool hasKey_ = false;
};

} // namespace zib
