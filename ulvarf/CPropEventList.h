#pragma once

#include "ulvarf/PropEvent.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zib {
class ByteWriter;
}

namespace zib::ulvarf {

// A property event stream as a list of events kept in their encoded form:
// each event's absolute tick and track and its bytes from the kind byte (the
// track-change bit cleared) to its last payload byte. The pattern code uses
// it to cut, join, repeat and re-kind patterns: events move between streams
// byte for byte, and only the deltas and track changes are worked out anew
// when the list is encoded, so a stream decoded and encoded again comes out
// as it went in.
//
// The stream is read frame by frame (PropFrame), as the decoder reads it;
// unknown events and continue markers are kept as they are. Decoding ends at
// a meta 0x2F (end of track), a meta 0x7E whose first data byte is 1, or
// kind 31; the end marker is not kept as an event.
class CPropEventList {
public:
    static constexpr uint8_t kMeta = PropKind::Meta;
    static constexpr uint8_t kSysEx = PropKind::SysEx;
    static constexpr uint8_t kEndOfStream = PropKind::EndOfStream;
    static constexpr uint8_t kMetaEndOfTrack = PropMeta::EndOfTrack;
    static constexpr uint8_t kMetaControl = PropMeta::Control;
    static constexpr uint32_t kMaxDelta = PropFrame::kMaxDelta;

    struct Event {
        uint32_t tick = 0;
        uint8_t track = 0;
        uint8_t kind = 0;    // low 5 bits of the kind byte
        uint32_t offset = 0; // of the event's bytes in the list's store
        uint32_t size = 0;
    };

    // Decoding: the whole stream, or its first `limit` events
    static CPropEventList Decode(std::span<const uint8_t> stream, size_t limit = SIZE_MAX);
    // True when decoding stopped at bytes that do not form an event (a cut
    // payload, a fifth delta byte, a tick past 32 bits).
    bool damaged() const { return damaged_; }
    bool hasEnd() const { return hasEnd_; }
    // Tick of the end marker, or of the last event when the stream has none.
    uint32_t endTick() const { return endTick_; }
    // True when the stream's first event is its end (no bytes count as empty;
    // bytes that cannot be read at all do not; continue markers are no events).
    static bool IsEmptyStream(std::span<const uint8_t> stream);

    // Events
    size_t size() const { return events_.size(); }
    bool empty() const { return events_.empty(); }
    const Event& operator[](size_t i) const { return events_[i]; }
    const std::vector<Event>& events() const { return events_; }
    std::span<const uint8_t> Bytes(const Event& event) const;
    // Payload byte i (the bytes after the kind byte); 0 past the event's end.
    uint8_t Payload(const Event& event, size_t i) const;
    bool IsMeta(const Event& event, uint8_t type) const;
    // The data of a meta event (after type and length).
    std::span<const uint8_t> MetaData(const Event& event) const;
    uint32_t lastTick() const { return events_.empty() ? 0 : events_.back().tick; }

    // Building
    void Append(uint32_t tick, uint8_t track, std::span<const uint8_t> bytes);
    void AppendFrom(const CPropEventList& other, const Event& event, uint32_t tick);
    void AppendMeta(uint32_t tick, uint8_t type, std::span<const uint8_t> data);
    // Orders the events by tick, keeping the order of events of one tick.
    void SortByTick();
    // Rewrites the kind of event i, keeping its flag bits and payload.
    void SetKind(size_t i, uint8_t kind);
    void Reserve(size_t events, size_t bytes);

    // Encoding
    // Writes the events (which must be in tick order) followed by an end of
    // track at the later of `endTick` and the last event; false when a delta
    // reaches 2^28 or the events are out of order.
    bool Encode(uint32_t endTick, zib::ByteWriter& out) const;
    std::optional<std::vector<uint8_t>> Encode(uint32_t endTick) const;
    static void WriteDelta(uint32_t delta, zib::ByteWriter& out); // delta below 2^28

private:
    std::vector<Event> events_;
    std::vector<uint8_t> store_;
    uint32_t endTick_ = 0;
    bool hasEnd_ = false;
    bool damaged_ = false;
};

} // namespace zib::ulvarf
