#pragma once

#include <cstdint>
#include <vector>

namespace zib {

class CMidiParserEx;

// Writes an edited sequence back as a Standard MIDI File image that the
// program's reader opens again.
//
// Format 1: one chunk per track from track 0 up to the highest track that
// holds events or raw bytes (tracks between them as empty chunks). A track
// the sequence did not change since reading keeps its raw chunk bytes; any
// other is built from its events in array (time) order, without running
// status.
// Format 0: one chunk per track chunk the file held (most hold one), each
// with the events read from it; new events go to the first, a note-off to
// its note-on's. The header announces one track, as the reader expects.
//
// A built chunk ends with its end of track where the file had it, or at its
// last event when events now lie past it. Chunks that are not tracks are
// written back unchanged before the track chunk they stood before. The
// reader takes a time signature only at the start of a measure of the map
// it builds while reading: one that would fall inside a measure is written
// at the start of that measure.
class CMidDocWriter {
public:
    // Result codes (the MIDI file writer's numbers; a time signature the
    // reader cannot take gives the reader's code)
    static constexpr int kOk = 0;
    static constexpr int kBadDeltaTime = 23;     // events out of time order, or a gap of 2^28 ticks or more
    static constexpr int kEventDataTooLong = 24; // more track bytes than a chunk can announce

    static int Build(const CMidiParserEx& sequence, uint32_t format, std::vector<uint8_t>& out);
};

} // namespace zib
