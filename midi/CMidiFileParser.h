#pragma once

#include "midi/CMidiByteBuffer.h"
#include "midi/CMidiFile.h"
#include "midi/CMidiNode.h"

#include <array>
#include <memory>
#include <vector>

namespace zib {

// Rewrites Standard MIDI File images between the formats: format 1 becomes
// one merged track (format 0), format 0 becomes one track for everything
// that is not a channel event followed by one track per used channel
// (format 1). Every output track ends with exactly one end-of-track event,
// right after its last event. The caller asks for the size first and passes
// a buffer of at least that size.
class CMidiFileParser : public CMidiFile {
public:
    // Error codes added to CMidiFile's (texts in CMidiFileParser.cpp)
    enum ParserError : int {
        kApplicationDefined = 100, // also: a track filter outside 0-7 and 255
        kFormatDetermined = 101,   // stop signal of the header-only read
        kFormatNotSupportedConv = 102,
        kCannotAllocateEvents = 103,
        kLastTrackNotFinished = 104,
        kCannotAllocateBuffer = 105, // also: a track outgrew its buffer
        kMaxTrackLimitExceeded = 106,
    };

    // Reading and writing modes (reading and writing each have their own 0)
    enum class ConvertMode : uint32_t {
        Read = 0,        // reading: every event, for conversion
        OneTrack384 = 0, // writing: one track, format 0, division 384
        Merged = 2,      // writing: one merged track, format 0
        PerChannel = 3,  // writing: a non-channel track, then one per used channel, format 1
        HeaderOnly = 9,
        Measure = 10,
    };

    // Qe style track to its (zero-based) MIDI channel: DRUM, PERC, BASS, ACC1-ACC5
    static constexpr uint8_t QeTrackChannelTable[8] = {9, 10, 8, 11, 12, 13, 14, 15};
    static constexpr uint8_t kAllTracks = 255;
    static constexpr int kMaxInputTracks = 64;

    CMidiFileParser();
    ~CMidiFileParser() override;

    int ReportError(char* buffer, size_t size, int code) override;

    // Conversion in the direction the input's format gives. With
    // `makerSysex`, a format-0 input's maker system-exclusive messages
    // (data 0x42 0x3F 0x78 ...) go to the track of the channel in their 6th data byte.
    int GetConvertedSize(const uint8_t* image, uint32_t size, uint32_t& outSize, bool makerSysex);
    int ConvertFormat(const uint8_t* image, uint32_t size, uint8_t* out, uint32_t capacity, bool makerSysex);

    // Format 0 of any input (format 0 or 1): ParseFormat0 reads the image
    // into the time-sorted event list and reports the size of the image
    // that ConvertToFormat0 writes into the caller's buffer (one track, the
    // input's division). ConvertToFormat0Division384 writes the same track
    // under division 384, the Qe style world's; the events keep their ticks.
    int ParseFormat0(const uint8_t* image, uint32_t size, uint32_t& outSize);
    int ConvertToFormat0(const uint8_t* image, uint32_t size, uint8_t* out, uint32_t capacity);
    int ConvertToFormat0Division384(const uint8_t* image, uint32_t size, uint8_t* out, uint32_t capacity);
    // Frees the parsed events and the track buffers
    void Reset();

    // Set before parsing: the track filter (255 keeps everything; a Qe track
    // 0-7 keeps only the channel events of its channel in QeTrackChannelTable)
    // and whether percussion notes (channel 11) play on the drum channel (10)
    void SetTrackFilter(uint8_t track) { m_trackFilter = track; }
    void SetPercussionOnDrumChannel(bool on) { m_percussionOnDrums = on; }

    // The events read, sorted by time (equal times in the order read)
    const std::vector<std::unique_ptr<CMidiNode>>& GetEvents() const { return m_events; }

protected:
    int OnHeader() override;
    int OnTrackStart() override;
    int OnChannelEvent() override;
    int OnSysEx() override;
    int OnMetaSeqNum() override;
    int OnMetaTempo() override;
    int OnMetaSMPTE() override;
    int OnMetaTime() override;
    int OnMetaKeySig() override;
    int OnMetaPort() override;
    int OnMetaChan() override;
    int OnMetaText() override;
    int OnMetaEndOfTrack() override;

private:
    int Read(const uint8_t* image, uint32_t size);
    int StoreRaw();
    int BuildTracks(bool merge);
    int Encode(bool merge, std::array<uint32_t, 17>* sizes);
    int WriteFormat0(ConvertMode mode, const uint8_t* image, uint32_t size, uint8_t* out, uint32_t capacity);
    int WriteImage(ConvertMode mode, uint8_t* out, uint32_t capacity);
    uint32_t ImageSize() const;
    int MakerSysExChannel(const CMidiNode& e) const;

    // Track bytes: the merged or non-channel track, and one per channel
    CMidiByteBuffer m_mainBuffer;
    std::array<CMidiByteBuffer, 16> m_channelBuffers;
    std::vector<std::unique_ptr<CMidiNode>> m_events;

    ConvertMode m_mode = ConvertMode::Read;
    uint8_t m_trackEnded = 1;
    int m_writeCursor = -1;
    bool m_makerSysex = false;
    uint8_t m_trackFilter = kAllTracks;
    bool m_percussionOnDrums = false;
    uint16_t m_outputTracks = 0; // tracks of the image being written
};

} // namespace zib
