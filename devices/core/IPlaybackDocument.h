#pragma once

#include <cstdint>

namespace zib {

class CMidiEvent;
class CMidiParserEx;

// The values of one track record that playback and recording read.
struct PlaybackTrack {
    uint8_t hasEvents = 0;
    uint8_t play = 0;    // 0 = muted
    uint8_t solo = 0;    // 1 = soloed
    uint8_t record = 0;  // non-zero = armed for recording
    uint8_t channel = 0; // 0..15; above 15 is sent as channel 0; 255 = none
    uint8_t port = 0;    // user OUT port
    uint8_t bankMsb = 0; // above 127: none
    uint8_t bankLsb = 0;
    uint8_t program = 0; // above 127: none
    uint8_t volume = 100;
    uint8_t pan = 0;
    uint32_t recordChannel = 0; // record-input code: low 16 bits 1-16, 17 omni, 18 mask in the high 16 bits
    uint32_t totalEvents = 0;
};

// What the player needs of the MIDI document it plays (the document's
// adapter implements it). Rows 0..63 describe sequence tracks 1..64.
class IPlaybackDocument {
public:
    virtual ~IPlaybackDocument() = default;

    // The sequence and its tracks
    virtual CMidiParserEx& Sequence() = 0;
    virtual int TrackRecordCount() const = 0;
    virtual PlaybackTrack Track(int row) const = 0;
    // After recording: the row's event counts from the sequence
    virtual void SetTrackCounts(int row, uint32_t listedEvents, uint32_t totalEvents) = 0;
    // The volume and pan sent last while playing (snapshot at the start)
    virtual void SetLiveMix(int row, uint8_t volume, uint8_t pan) = 0;

    // Transport switches and recording settings
    virtual uint32_t LoopFlag() const = 0;
    virtual void SetLoopFlag(uint32_t on) = 0;
    virtual uint32_t RecordFlag() const = 0;
    virtual void SetRecordFlag(uint32_t on) = 0;
    virtual uint16_t RecordEchoChannels() const = 0; // bit n: channel n + 1 is echoed

    // Changes
    virtual void SetModified() = 0;
    // The undo manager: target 0 track event, 1 master-track event;
    // operation 0 modify, 1 insert, 2 delete. Returns the record's position, -1 when none.
    virtual int RecordUndoAction(int target, const CMidiEvent& event, int operation, uint32_t groupStart,
                                 int32_t index, int32_t secondIndex) = 0;
    virtual void ClearUndo() = 0;
};

} // namespace zib
