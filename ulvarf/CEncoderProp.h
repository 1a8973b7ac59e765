#pragma once

#include "ulvarf/CEncoderBase.h"
#include "ulvarf/CMStream.h"
#include "ulvarf/PropEvent.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zib::ulvarf {

class CNoteInfoPool;
struct CNoteInfo;

// The encoder's two switches; an encoder opens with note pairing on and
// durations expanded. Both off is the library's own re-encoding: notes with
// a duration are expanded into plain note on and note off events. Both on is
// what a stored stream gets: note ons are paired with their note offs into
// notes with a duration, and notes that already have one are written as
// they are.
struct PropSwitches {
    bool notePairing = true;    // switch 1
    bool keepDurations = false; // switch 2

    static constexpr PropSwitches BothOff() { return {false, false}; }
    static constexpr PropSwitches BothOn() { return {true, true}; }
};

// Encodes events into a property event stream (the form is described at
// PropFrame) in a growable buffer of its own.
//
// Note pairing on: a note on (kind 1) is written at once as kind 7 with a
// placeholder duration, and remembered in the note tracer; its note off
// (kind 0, the newest open note of that key and track) fills in the duration
// (cut at the duration limit when one is set) and the off velocity. VexSound
// on and off (13, 12) pair the same way into kind 14 in the sound tracer.
// Note pairing off: kinds 0, 1, 12 and 13 are written as plain events, and
// kinds 7 and 14 reaching the writer are refused. Notes still open at the end
// of track are shut there.
class CEncoderProp : public CEncoderBase {
public:
    explicit CEncoderProp(size_t limit = CMStream::kDefaultLimit);
    CEncoderProp(CNoteInfoPool& notes, size_t limit = CMStream::kDefaultLimit);
    ~CEncoderProp() override;

    // Opening and closing
    // Starts an empty stream: current track 0, tracers empty, no duration limit.
    void Open(PropSwitches switches = PropSwitches());
    // Longest duration note pairing writes; 0 for none.
    void SetDurationLimit(uint32_t ticks) { durationLimit_ = ticks; }
    // Closes every open note, then every open sound, at the tick (traced).
    void ShutNotes(uint32_t tick);
    // Writes the offs still pending; traces open notes and a missing end of
    // track. False only when the encoder has failed.
    bool Close();

    // An event already in property form: its bytes from the kind byte (a
    // track-change byte in them is dropped) to its last payload byte, and
    // its absolute track; the track change is worked out anew.
    bool CopyEncodedEvent(uint32_t tick, std::span<const uint8_t> event, uint8_t track);

    // Output
    std::span<const uint8_t> bytes() const { return out_.bytes(); }
    size_t size() const { return out_.size(); }
    std::vector<uint8_t> Take() { return out_.Take(); }

    // One event in property form without delta and track change; false for
    // an event the stream cannot hold (unknown kind, data too long).
    static bool EncodeEvent(const PropEvent& event, std::vector<uint8_t>& out);
    // A delta in property form (no bytes for 0); false with the trace
    // "PropFormEncodeDelta - Tick out of range" from 2^28 on.
    static bool PropFormEncodeDelta(uint32_t delta, std::vector<uint8_t>& out);

    // Whole lists (in tick order; they should end with their end of track).
    // Nothing (and a trace) when the encoding fails.
    static std::optional<std::vector<uint8_t>> EncodeEvents(std::span<const PropEvent> events,
                                                            PropSwitches switches);
    // Every event written as it is (the copy form): plain notes stay plain,
    // notes with a duration keep it. A canonical stream decoded and copied
    // comes out byte for byte.
    static std::optional<std::vector<uint8_t>> CopyEvents(std::span<const PropEvent> events);
    // A stream decoded and encoded again with both switches off, as every
    // re-encoding of the library's own (extending, splitting, converting
    // patterns) is: notes with a duration become note on/off pairs (VexSound
    // alike), unknown kinds the null event. Nothing when the stream cannot
    // be decoded whole or encoded.
    static std::optional<std::vector<uint8_t>> ReEncode(std::span<const uint8_t> stream);

protected:
    bool OnChannelMsg(const PropEvent& event) override;
    bool OnMetaEvent(const PropEvent& event) override;
    bool OnSysExEvent(const PropEvent& event) override;
    bool OnEndOfTrack(uint32_t tick) override;

private:
    // Delta, kind byte with the track change, payload; returns the position
    // of the payload in the stream.
    bool writeEvent(uint32_t tick, uint8_t kind, std::span<const uint8_t> payload, bool carriesTrack, uint8_t track,
                    size_t* payloadPos = nullptr);
    // The same for an event in the form EncodeEvent gives.
    bool writeEncoded(uint32_t tick, const std::vector<uint8_t>& encoded, bool carriesTrack, uint8_t track,
                      size_t* payloadPos = nullptr);
    bool openNote(const PropEvent& event, CNoteInfo*& tracer);
    bool closeNote(const PropEvent& event, CNoteInfo*& tracer, const char* redundantText);
    void shutTracer(CNoteInfo*& tracer, uint32_t tick, const char* format);
    void freeTracer(CNoteInfo*& tracer);

    CNoteInfoPool& notes_;
    CMStream out_;
    PropSwitches switches_;
    uint32_t durationLimit_ = 0;
    uint8_t track_ = 0;
    uint32_t writtenTick_ = 0;
    bool lastWasEnd_ = false;
    CNoteInfo* noteTracer_ = nullptr;  // newest first
    CNoteInfo* soundTracer_ = nullptr; // newest first
    std::vector<uint8_t> scratch_;
    std::vector<uint8_t> encoded_;
};

} // namespace zib::ulvarf
