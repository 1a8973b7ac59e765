#pragma once

#include "platform/ByteCursor.h"
#include "platform/ByteWriter.h"
#include "platform/FileIo.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

namespace zib {

// The Standard MIDI File engine. Reading hands every chunk and event to a
// virtual callback; writing pulls the header, the tracks and the events from
// the same callbacks. Subclasses decide what to keep or write. Every
// operation returns 0 or an error code; the codes are formatted by
// ReportError.
//
// Event buffer while reading (filled before a callback runs):
//   m_eventTime      absolute track ticks (the bare delta with kDeltaTimes)
//   m_status         channel status; 0xF0/0xF7 for sysex; the meta type
//                    during a meta callback (0xFF again for end of track)
//   m_eventData[0]   channel data 1, or the length of a fixed-length meta event
//   m_eventData[1]   channel data 2 (0xFF for one-byte messages), or the
//   ..[5]            meta data (sequence number 1-2, port or channel 1,
//                    tempo 1-3 as in the file, SMPTE 1-5, time signature 1-4,
//                    key signature 1-2); byte 5 of a tempo event holds its
//                    whole BPM truncated to 8 bits
//   m_eventTempo     microseconds per quarter note of a tempo event
// Sysex and text events reach their callback with the data unread
// (GetEventBytes() of it left); what the callback does not read is skipped.
//
// Event buffer while writing (cleared before every callback; the callback
// fills it):
//   m_eventTime      absolute track ticks, or the delta with kDeltaTimes
//   m_status         0x80-0xEF, 0xF0-0xFE, or 0xFF for a meta event
//   m_eventData      channel data 1 and 2; for a meta event byte 0 is the
//                    type and bytes 1-5 the data of the fixed-length types
//   m_eventTempo     tempo in microseconds per quarter note (BPM with kTempoInBpm)
//   m_eventPayload   data of a sysex event or of a meta event of another type
class CMidiFile {
public:
    // Error codes (texts in CMidiFile.cpp)
    enum Error : int {
        kSuccess = 0,
        kNotExpectedChunkId = 1,
        kBadReadWriteFlag = 2,
        kBadMThdChunk = 3,
        kBadMTrkChunk = 4,
        kBadIoFlag = 5,
        kBadByteCount = 6,
        kFileOpenFailed = 7,
        kReadPastEnd = 8,
        kSeekPastEnd = 9,
        kSeekBeforeBegin = 10,
        kBadNumber = 11,
        kSeekFailed = 12,
        kMissingMThd = 13,
        kUnexpectedChunkHeader = 14,
        kInvalidEventData = 15,
        kInvalidEventCode = 16,
        kBadMetaEventLen = 17,
        kFormatNotSupported = 18,
        kInvalidTrackCount = 19,
        kInvalidDenominator = 20,
        kDataCorrupted = 21,
        kBadFtell = 22,
        kBadDeltaTime = 23,     // writing: a delta that goes backwards or needs more than 4 bytes
        kEventDataTooLong = 24, // writing: sysex or meta data too long for a length field
    };

    // Option bits of GetFlags()/SetFlags()
    enum Flag : uint16_t {
        kWriteMode = 0x8000,         // set by the write operations, cleared by the parse operations
        kTempoInBpm = 0x4000,        // writing: the tempo given is in BPM
        kInSysEx = 0x2000,           // reading: an 0xF0 event was read, no channel event since
        kDenominatorAsNote = 0x1000, // time-signature denominators are note values (2 ... 128)
        kDeltaTimes = 0x0800,        // event times are deltas instead of absolute track times
    };

    // Source or target of the current operation
    enum class IoMode : uint8_t { None = 0, File = 1, Memory = 3 };

    static constexpr uint32_t kChunkMThd = 0x4D546864;
    static constexpr uint32_t kChunkMTrk = 0x4D54726B;

    CMidiFile();
    virtual ~CMidiFile();
    CMidiFile(const CMidiFile&) = delete;
    CMidiFile& operator=(const CMidiFile&) = delete;

    // Error text: "CMidiFile error: %d - %s" into the buffer (truncated,
    // terminated); returns its length, 0 for a code this class does not know
    virtual int ReportError(char* buffer, size_t size, int code);

    // Reading: a caller-owned memory image, or a named file
    virtual int ParseMemory(const uint8_t* image, uint32_t size);
    virtual int ParseFile(const std::filesystem::path& path);
    int Parse(); // over the source already set

    // Writing: a file (written whole or not at all) or the caller's buffer of
    // `capacity` bytes; afterwards GetBytesWritten() holds the image size
    int WriteToFile(const std::filesystem::path& path);
    int WriteToMemory(uint8_t* buffer, uint32_t capacity);

    // Reading event data from inside a callback. Each read stays inside the
    // current chunk (4 beyond it, 8 beyond the source).
    int ReadBytes(uint8_t* buffer, uint32_t n);
    int Skip(int64_t n);
    int ReadU32(uint32_t& value);
    int ReadU16(uint16_t& value);
    int ReadTempo(uint32_t& value);  // 24-bit big-endian
    int ReadVarLen(uint32_t& value); // at most 4 bytes; added to the track time

    // Header and position
    uint16_t GetFormat() const { return m_format; }
    uint16_t GetTrackCount() const { return m_tracks; }
    uint16_t GetDivision() const { return m_division; }
    void SetHeader(uint16_t format, uint16_t tracks, uint16_t division);
    uint32_t GetTrackTime() const { return m_trackTime; }
    int GetTrackIndex() const { return m_trackIndex; } // current track chunk from 0; -1 before the first
    uint32_t GetChunkId() const { return m_chunkId; }
    uint16_t GetFlags() const { return m_flags; }
    void SetFlags(uint16_t flags) { m_flags = flags; }
    bool IsWriting() const { return (m_flags & kWriteMode) != 0; }

    // Reading: bytes of the source, the current chunk and the current event not yet consumed
    uint32_t GetBytesLeft() const;
    uint32_t GetChunkBytes() const;
    uint32_t GetEventBytes() const;
    // Writing: bytes written so far; after a write, the image size
    uint32_t GetBytesWritten() const { return m_bytesWritten; }
    // Reading: the current sysex or meta event as it stands in the source,
    // from its status byte to the end of its data
    std::span<const uint8_t> GetEventRawBytes() const;

    // Copying the current track chunk whole instead of decoding it (asked
    // from the track-start callback; cleared when done). Reading: `size`
    // must equal the chunk length. Writing: the bytes become the chunk.
    void RequestRawRead(uint8_t* target, uint32_t size);
    void RequestRawWrite(const uint8_t* source, uint32_t size);

protected:
    // Callbacks (slots 2-15). Each returns 0 to go on or a code that stops
    // the whole operation and is returned by it.
    virtual int OnUnknownChunk();   // reading: a chunk neither "MThd" nor "MTrk"; skipped afterwards
    virtual int OnTrackStart();     // an "MTrk" chunk starts / prepare the next track to write
    virtual int OnHeader();         // "MThd" read / fill format, tracks and division
    virtual int OnChannelEvent();   // channel event read / fill the next event to write
    virtual int OnSysEx();          // reading: 0xF0 or 0xF7 event, data unread
    virtual int OnMetaSeqNum();     // meta 0x00 / fill the sequence number that opens every track
    virtual int OnMetaTempo();      // meta 0x51
    virtual int OnMetaSMPTE();      // meta 0x54
    virtual int OnMetaTime();       // meta 0x58
    virtual int OnMetaKeySig();     // meta 0x59
    virtual int OnMetaPort();       // meta 0x21
    virtual int OnMetaChan();       // meta 0x20
    virtual int OnMetaText();       // meta 0x01-0x09 and 0x7F, data unread
    virtual int OnMetaEndOfTrack(); // meta 0x2F

    // Steps the measure layer adds to reading: after the header is read,
    // when a track chunk starts, just before every event callback, and
    // when a time-signature event is read (before the step before its callback)
    virtual int BeforeHeader();
    virtual int BeforeTrack();
    virtual int BeforeEvent();
    virtual int BeforeTimeSignature();

    // Option bits and header
    uint16_t m_flags = 0;
    uint16_t m_format = 0;
    uint16_t m_tracks = 0;
    uint16_t m_division = 0;

    // Current chunk and track
    uint32_t m_chunkId = 0;
    int m_trackIndex = -1;
    uint32_t m_trackTime = 0;
    uint8_t m_runningStatus = 0;

    // Raw track request
    bool m_rawRequest = false;
    uint32_t m_rawSize = 0;
    uint8_t* m_rawTarget = nullptr;
    const uint8_t* m_rawSource = nullptr;

    // Event buffer (see the class comment)
    uint32_t m_eventTime = 0;
    uint8_t m_status = 0;
    uint8_t m_eventData[7] = {};
    uint32_t m_eventTempo = 0;
    std::span<const uint8_t> m_eventPayload;

private:
    int OpenSource();
    int RunChunks();
    int ReadChunkHeader(uint32_t& length);
    int DecodeTrack();
    int DecodeEvent();
    int DecodeMeta();
    int ReadLength(uint32_t& value);
    // Every byte of an event passes here: the common case without the
    // checks of a caller's read (mode and source are set while decoding)
    int ReadByte(uint8_t& value)
    {
        if (!(m_flags & kWriteMode) && m_in.pos() < m_chunkEnd && m_in.has(1)) {
            value = m_in.u8();
            return kSuccess;
        }
        return ReadBytes(&value, 1);
    }
    int SkipToEventEnd();
    int WriteAll(ByteWriter& out);
    int WriteTrack(ByteWriter& out);
    int WriteEvent(ByteWriter& out, bool& ended);
    int WriteDelta(ByteWriter& out);
    void ClearEventBuffer();

    // Source
    IoMode m_mode = IoMode::None;
    const uint8_t* m_image = nullptr;
    uint32_t m_imageSize = 0;
    std::filesystem::path m_fileName;
    FileBytes m_fileImage;

    // Reading position
    ByteCursor m_in;
    size_t m_chunkEnd = 0;
    size_t m_eventStart = 0;
    size_t m_eventEnd = 0;

    // Writing
    ByteWriter* m_out = nullptr;
    uint32_t m_bytesWritten = 0;
    uint32_t m_pendingDelta = 0; // delta of skipped events (kDeltaTimes)
};

} // namespace zib
