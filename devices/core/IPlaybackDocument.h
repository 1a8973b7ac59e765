#pragma once

#include <cstdint>
#include <span>

namespace zib {

class CMidiEvent;
class CMidiParserEx;

// The values of one track record (CTrackInfo) that playback and recording read.
struct PlaybackTrack {
    uint8_t play = 1;    // 0 = muted
    uint8_t solo = 0;    // 1 = soloed
    uint8_t record = 0;  // non-zero = armed for recording
    uint8_t channel = 0; // 0..15; 255 = none, or more than one
    uint8_t port = 0;    // user OUT port
    uint8_t bankMsb = 255; // above 127: none
    uint8_t bankLsb = 0;
    uint8_t program = 255; // above 127: none
    uint8_t volume = 100;
    uint8_t pan = 0;
    uint32_t recordChannel = 0; // low 16 bits: 1-16 one channel, 17 every channel, 18 the mask in the high 16 bits
};

// A volume or pan the user set while the song played, for the document to
// keep (row 0..63; a value above 127 leaves that one as it is), with the
// value the run started from, which Undo gives back.
struct MixChange {
    int row = 0;
    uint8_t volume = 255;
    uint8_t pan = 255;
    uint8_t fromVolume = 255;
    uint8_t fromPan = 255;
};

// Undo targets and operations, as the document's undo manager numbers them
enum class PlaybackUndoTarget : int { TrackEvent = 0, MasterTrackEvent = 1 };
enum class PlaybackUndoOperation : int { Modify = 0, Insert = 1, Delete = 2 };

// What the playback engine needs of the MIDI document it plays; the
// document core implements it. Every call comes from the UI thread. While
// the song plays the engine reads the sequence and, when recording, inserts
// into it under its own lock; every other call waits until the playing flag
// has cleared (the finish of a run), except the flags below.
class IPlaybackDocument {
public:
    virtual ~IPlaybackDocument() = default;

    // The sequence (events, division, time-signature map, per-track tables)
    virtual CMidiParserEx& Sequence() = 0;
    // Track records 0..63, describing sequence tracks 1..64
    virtual PlaybackTrack Track(int row) const = 0;

    // Switches: the loop ("Set Loop On/Off") and record flags, the thru mask
    // (bit n: MIDI channel n + 1 is echoed while recording)
    virtual bool LoopFlag() const = 0;
    virtual void SetLoopFlag(bool on) = 0;
    virtual bool RecordFlag() const = 0;
    virtual void SetRecordFlag(bool on) = 0;
    virtual uint16_t ThruMask() const = 0;

    // Changes (after a run, or for a tempo set while stopped)
    virtual void SetModified() = 0;
    // Records one action in the undo manager (a copy of the event with its
    // bytes); `groupStart` opens a new group. False when memory ran out.
    virtual bool RecordUndo(PlaybackUndoTarget target, const CMidiEvent& event, PlaybackUndoOperation operation,
                            bool groupStart, int32_t index, int32_t secondIndex) = 0;
    virtual void ClearUndo() = 0;
    // After recording: the track records' event counts from the sequence
    virtual void RefreshTrackCounts() = 0;
    // Volumes and pans set while playing: written into each track's first
    // controller 7 and 10 events as one undo group
    virtual void ApplyMixChanges(std::span<const MixChange> changes) = 0;
};

} // namespace zib
