#pragma once

#include <cstdint>
#include <vector>

namespace zib {

class CMidiParserEx;

// Writes an edited sequence back as a Standard MIDI File image.
//
// Format 1: one chunk per track from track 0 up to the highest track that
// holds events or raw bytes (tracks between them as empty chunks). A track
// the sequence did not change since reading keeps its raw chunk bytes; any
// other is built from its events in array (time) order, without running
// status, and ends with an end of track at its last event's tick.
// Format 0: one chunk of every event in array order.
class CMidDocWriter {
public:
    // Result codes (the MIDI file writer's numbers)
    static constexpr int kOk = 0;
    static constexpr int kBadDeltaTime = 23;     // events out of time order, or a gap of 2^28 ticks or more
    static constexpr int kEventDataTooLong = 24; // more track bytes than a chunk can announce

    static int Build(const CMidiParserEx& sequence, uint32_t format, std::vector<uint8_t>& out);
};

} // namespace zib
